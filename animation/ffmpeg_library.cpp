#include "animation/ffmpeg_library.h"

#include <dlfcn.h>

#include <string>

#include "animation/ffmpeg_support.h"

namespace lumetra::animation {
namespace {

#define LUMETRA_TEXT(x) #x
#define LUMETRA_SONAME(name, major) "lib" name ".so." LUMETRA_TEXT(major)

// The libraries by the names this build was compiled against, each after those it needs.
constexpr const char* kLibraries[] = {
    LUMETRA_SONAME("avutil", LIBAVUTIL_VERSION_MAJOR),
    LUMETRA_SONAME("swscale", LIBSWSCALE_VERSION_MAJOR),
    LUMETRA_SONAME("avcodec", LIBAVCODEC_VERSION_MAJOR),
    LUMETRA_SONAME("avformat", LIBAVFORMAT_VERSION_MAJOR),
};

std::string Missing(const std::string& what) {
  return "FFmpeg's libraries cannot be loaded (" + what + "): install the packages libavformat" +
         std::to_string(LIBAVFORMAT_VERSION_MAJOR) + ", libavcodec" +
         std::to_string(LIBAVCODEC_VERSION_MAJOR) + " and libswscale" +
         std::to_string(LIBSWSCALE_VERSION_MAJOR) + " (apt-get install ffmpeg)";
}

class Loader {
 public:
  Loader() {
    for (const char* name : kLibraries) {
      // Kept open for the process: FFmpeg keeps state of its own in its data.
      void* handle = dlopen(name, RTLD_NOW | RTLD_GLOBAL);
      if (handle == nullptr) throw FfmpegError(Missing(dlerror()));
    }
  }

  // A function of the loaded libraries, by name.
  template <typename Function>
  void Find(Function& function, const char* name) {
    function = reinterpret_cast<Function>(dlsym(RTLD_DEFAULT, name));
    if (function == nullptr) throw FfmpegError(Missing(std::string("no function ") + name));
  }
};

#define LUMETRA_FIND(name) loader.Find(library.name, #name)

FfmpegLibrary Load() {
  Loader loader;
  FfmpegLibrary library{};
  LUMETRA_FIND(av_dict_free);
  LUMETRA_FIND(av_dict_set);
  LUMETRA_FIND(av_frame_alloc);
  LUMETRA_FIND(av_frame_free);
  LUMETRA_FIND(av_frame_get_buffer);
  LUMETRA_FIND(av_frame_make_writable);
  LUMETRA_FIND(av_log_format_line2);
  LUMETRA_FIND(av_log_set_callback);
  LUMETRA_FIND(av_packet_alloc);
  LUMETRA_FIND(av_packet_free);
  LUMETRA_FIND(av_packet_rescale_ts);
  LUMETRA_FIND(av_packet_unref);
  LUMETRA_FIND(av_pix_fmt_desc_get);
  LUMETRA_FIND(av_strerror);
  LUMETRA_FIND(av_write_frame);
  LUMETRA_FIND(av_write_trailer);
  LUMETRA_FIND(avcodec_alloc_context3);
  LUMETRA_FIND(avcodec_find_encoder_by_name);
  LUMETRA_FIND(avcodec_free_context);
  LUMETRA_FIND(avcodec_open2);
  LUMETRA_FIND(avcodec_parameters_from_context);
  LUMETRA_FIND(avcodec_receive_packet);
  LUMETRA_FIND(avcodec_send_frame);
  LUMETRA_FIND(avformat_alloc_output_context2);
  LUMETRA_FIND(avformat_free_context);
  LUMETRA_FIND(avformat_new_stream);
  LUMETRA_FIND(avformat_write_header);
  LUMETRA_FIND(avio_closep);
  LUMETRA_FIND(avio_open);
  LUMETRA_FIND(sws_freeContext);
  LUMETRA_FIND(sws_getContext);
  LUMETRA_FIND(sws_scale);
  return library;
}

}  // namespace

const FfmpegLibrary& Ffmpeg() {
  // A failed load throws out of the initialisation, so the next call tries again.
  static const FfmpegLibrary library = Load();
  return library;
}

}  // namespace lumetra::animation
