// Renders three scenes with liblumetra2.so and with POV-Ray 3.7, one after the other at the
// same size, anti-aliasing and thread count, and prints our time over POV-Ray's per scene.
//
//   lumetra2_compare_povray [--width 640] [--height 480] [--threads N] [--out DIR]
//
// Both times are wall clock from the scene description to the last pixel: ours includes
// building the scene through the entries, POV-Ray's its start-up and parsing.
#include <tbb/global_control.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "bench_scene.h"

namespace {

using namespace lumetra::bench;
using Clock = std::chrono::steady_clock;

struct Options {
  int width = 640, height = 480;
  int threads = int(std::thread::hardware_concurrency());
  std::filesystem::path out = std::filesystem::temp_directory_path() / "lumetra2-compare-povray";
};

struct Image {
  int width, height;
  std::vector<unsigned char> rgb;
};

int32_t LUMETRA2_CALL storePixel(int32_t x, int32_t y, const float color[4], void* user_data) {
  auto* image = static_cast<Image*>(user_data);
  for (int c = 0; c < 3; ++c)
    image->rgb[(size_t(y) * image->width + x) * 3 + c] = (unsigned char)(color[c] * 255 + 0.5f);
  return 0;
}

double seconds(Clock::time_point since) {
  return std::chrono::duration<double>(Clock::now() - since).count();
}

// Our render; the image goes to DIR/<file>.ppm. Negative on failure.
double renderOurs(const BenchScene& scene, const Options& options, const std::string& file) {
  tbb::global_control threads(tbb::global_control::max_allowed_parallelism, size_t(options.threads));
  Image image{options.width, options.height,
              std::vector<unsigned char>(size_t(options.width) * options.height * 3)};
  const Clock::time_point start = Clock::now();
  L2View view = 0;
  const L2Scene handle = buildLibraryScene(scene, options.width, options.height, view);
  const int32_t result = AATracer(
      handle, view, nullptr, L2_SHADE_SMOOTH | L2_SHADE_SHADOWS | L2_SHADE_REFLECTION | L2_SHADE_TRANSMISSION,
      nullptr, storePixel, &image);
  FreeScene(handle);
  const double elapsed = seconds(start);
  if (result != L2_OK) return -1;
  std::ofstream ppm(options.out / (file + ".ppm"), std::ios::binary);
  ppm << "P6\n" << image.width << " " << image.height << "\n255\n";
  ppm.write(reinterpret_cast<const char*>(image.rgb.data()), std::streamsize(image.rgb.size()));
  return elapsed;
}

// POV-Ray's render of the same scene: adaptive anti-aliasing by corner samples, threshold 0.3,
// at most 3 subdivisions, the method AATracer uses.
double renderPovray(const BenchScene& scene, const Options& options, const std::string& file) {
  const std::filesystem::path source = options.out / (file + ".pov");
  std::ofstream(source) << povraySource(scene, options.width, options.height);
  const std::string command = "povray -D +I'" + source.string() + "' +O'" +
                              (options.out / (file + ".png")).string() + "' +FN +W" +
                              std::to_string(options.width) + " +H" + std::to_string(options.height) +
                              " +A0.3 +AM2 +R3 File_Gamma=1.0 +WT" + std::to_string(options.threads) +
                              " > '" + (options.out / (file + ".log")).string() + "' 2>&1";
  const Clock::time_point start = Clock::now();
  const int status = std::system(command.c_str());
  const double elapsed = seconds(start);
  return status == 0 ? elapsed : -1;
}

bool parse(int argc, char** argv, Options& options) {
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string flag = argv[i], value = argv[i + 1];
    if (flag == "--width")
      options.width = std::atoi(value.c_str());
    else if (flag == "--height")
      options.height = std::atoi(value.c_str());
    else if (flag == "--threads")
      options.threads = std::atoi(value.c_str());
    else if (flag == "--out")
      options.out = value;
    else
      return false;
  }
  return argc % 2 == 1 && options.width > 0 && options.height > 0 && options.threads > 0;
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  if (!parse(argc, argv, options)) {
    std::fprintf(stderr, "usage: %s [--width W] [--height H] [--threads N] [--out DIR]\n", argv[0]);
    return 2;
  }
  std::filesystem::create_directories(options.out);
  std::printf("%dx%d, anti-aliasing 0.3 depth 3, %d threads, images in %s\n", options.width, options.height,
              options.threads, options.out.c_str());
  int failures = 0;
  int index = 0;
  for (const BenchScene& scene : {reflectiveSpheres(), triangleMesh(), csgBlocks()}) {
    const std::string file = "scene" + std::to_string(++index);
    const double ours = renderOurs(scene, options, file);
    const double povray = renderPovray(scene, options, file);
    if (ours < 0 || povray < 0) {
      std::printf("%-20s failed (ours %s, POV-Ray %s; see %s.log)\n", scene.name.c_str(),
                  ours < 0 ? "failed" : "ok", povray < 0 ? "failed" : "ok", file.c_str());
      ++failures;
      continue;
    }
    std::printf("%-20s ours %7.3f s  POV-Ray %7.3f s  ratio %.3f\n", scene.name.c_str(), ours, povray,
                ours / povray);
  }
  return failures == 0 ? 0 : 1;
}
