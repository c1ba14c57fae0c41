#pragma once

// FFmpeg's libraries, loaded when the first AVI file is written rather than with the plug-in:
// they bring about a hundred libraries of their own (codecs, TLS, X11), whose loading every
// render and every command paid for. The calls the AVI writer makes, by their own names.
extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/pixdesc.h>
#include <libswscale/swscale.h>
}

namespace lumetra::animation {

struct FfmpegLibrary {
  decltype(&::av_dict_free) av_dict_free;
  decltype(&::av_dict_set) av_dict_set;
  decltype(&::av_frame_alloc) av_frame_alloc;
  decltype(&::av_frame_free) av_frame_free;
  decltype(&::av_frame_get_buffer) av_frame_get_buffer;
  decltype(&::av_frame_make_writable) av_frame_make_writable;
  decltype(&::av_log_format_line2) av_log_format_line2;
  decltype(&::av_log_set_callback) av_log_set_callback;
  decltype(&::av_packet_alloc) av_packet_alloc;
  decltype(&::av_packet_free) av_packet_free;
  decltype(&::av_packet_rescale_ts) av_packet_rescale_ts;
  decltype(&::av_packet_unref) av_packet_unref;
  decltype(&::av_pix_fmt_desc_get) av_pix_fmt_desc_get;
  decltype(&::av_strerror) av_strerror;
  decltype(&::av_write_frame) av_write_frame;
  decltype(&::av_write_trailer) av_write_trailer;
  decltype(&::avcodec_alloc_context3) avcodec_alloc_context3;
  decltype(&::avcodec_find_encoder_by_name) avcodec_find_encoder_by_name;
  decltype(&::avcodec_free_context) avcodec_free_context;
  decltype(&::avcodec_open2) avcodec_open2;
  decltype(&::avcodec_parameters_from_context) avcodec_parameters_from_context;
  decltype(&::avcodec_receive_packet) avcodec_receive_packet;
  decltype(&::avcodec_send_frame) avcodec_send_frame;
  decltype(&::avformat_alloc_output_context2) avformat_alloc_output_context2;
  decltype(&::avformat_free_context) avformat_free_context;
  decltype(&::avformat_new_stream) avformat_new_stream;
  decltype(&::avformat_write_header) avformat_write_header;
  decltype(&::avio_closep) avio_closep;
  decltype(&::avio_open) avio_open;
  decltype(&::sws_freeContext) sws_freeContext;
  decltype(&::sws_getContext) sws_getContext;
  decltype(&::sws_scale) sws_scale;
};

// The libraries, loaded at the first call and kept for the process. Throws FfmpegError
// naming the library and the package to install when one is missing.
const FfmpegLibrary& Ffmpeg();

}  // namespace lumetra::animation
