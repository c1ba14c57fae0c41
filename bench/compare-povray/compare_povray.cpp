// Times liblumetra2.so against POV-Ray 3.7 at the same size, anti-aliasing and thread count, in
// two pairs per size:
//   trace          our render call on three scenes built through the entries, against the
//                  "Trace Time" POV-Ray's log gives for the same scene written as POV-Ray source;
//   whole process  `lumetra render` of a scene file (host, plug-in and library, start-up and
//                  picture included), against `povray` of the file `lumetra export-pov` wrote.
//
//   lumetra2_compare_povray [--size WxH]... [--threads N] [--repeat N] [--out DIR]
//                           [--lumetra PATH] [--scene FILE]...
//
// Each time is the median of --repeat runs (3 by default), ours and POV-Ray's taken in turn so
// that a machine that slows for a while slows both alike.
//
// Sizes default to 640x480 and 1280x960; scene files to the showcase and the textured scene of
// bench/. Every picture pair stays in DIR.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "bench_scene.h"

namespace {

using namespace lumetra::bench;
using Clock = std::chrono::steady_clock;
namespace fs = std::filesystem;

struct Size {
  int width, height;
  std::string text() const { return std::to_string(width) + "x" + std::to_string(height); }
};

struct Options {
  std::vector<Size> sizes;
  int threads = int(std::thread::hardware_concurrency());
  int repeat = 3;
  fs::path out = fs::temp_directory_path() / "lumetra2-compare-povray";
  fs::path lumetra;
  std::vector<fs::path> scenes;
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

std::string quoted(const fs::path& path) { return "'" + path.string() + "'"; }

// Seconds a shell command took; nothing when it failed.
std::optional<double> timed(const std::string& command) {
  const Clock::time_point start = Clock::now();
  const int status = std::system(command.c_str());
  const double elapsed = seconds(start);
  if (status != 0) return std::nullopt;
  return elapsed;
}

// The seconds in POV-Ray's "Trace Time: ... (1.234 seconds)" log line.
std::optional<double> povrayTraceTime(const fs::path& log) {
  std::ifstream in(log);
  for (std::string line; std::getline(in, line);) {
    if (line.find("Trace Time:") == std::string::npos) continue;
    const size_t open = line.rfind('(');
    if (open == std::string::npos) return std::nullopt;
    return std::strtod(line.c_str() + open + 1, nullptr);
  }
  return std::nullopt;
}

// POV-Ray's render of `source` into DIR/<file>-povray.png with its log beside: adaptive
// anti-aliasing by corner samples, threshold 0.3, at most 3 subdivisions, the method AATracer uses.
std::string povrayCommand(const fs::path& source, const std::string& file, const Size& size,
                          const Options& options) {
  return "povray -D +I" + quoted(source) + " +O" + quoted(options.out / (file + "-povray.png")) + " +FN +W" +
         std::to_string(size.width) + " +H" + std::to_string(size.height) +
         " +A0.3 +AM2 +R3 File_Gamma=1.0 +WT" + std::to_string(options.threads) + " > " +
         quoted(options.out / (file + "-povray.log")) + " 2>&1";
}

// Our render call alone (the scene built before the clock starts); the picture goes to
// DIR/<file>-ours.ppm.
std::optional<double> traceOurs(const BenchScene& scene, const Size& size, const std::string& file) {
  Image image{size.width, size.height, std::vector<unsigned char>(size_t(size.width) * size.height * 3)};
  L2View view = 0;
  const L2Scene handle = buildLibraryScene(scene, size.width, size.height, view);
  const Clock::time_point start = Clock::now();
  const int32_t result = AATracer(
      handle, view, nullptr, L2_SHADE_SMOOTH | L2_SHADE_SHADOWS | L2_SHADE_REFLECTION | L2_SHADE_TRANSMISSION,
      nullptr, storePixel, &image);
  const double elapsed = seconds(start);
  FreeScene(handle);
  if (result != L2_OK) return std::nullopt;
  std::ofstream ppm(file, std::ios::binary);
  ppm << "P6\n" << image.width << " " << image.height << "\n255\n";
  ppm.write(reinterpret_cast<const char*>(image.rgb.data()), std::streamsize(image.rgb.size()));
  return elapsed;
}

void printPair(const std::string& name, std::optional<double> ours, std::optional<double> povray,
               const std::string& note) {
  if (!ours || !povray) {
    std::printf("  %-20s failed (ours %s, POV-Ray %s)%s\n", name.c_str(), ours ? "ok" : "failed",
                povray ? "ok" : "failed", note.c_str());
    return;
  }
  std::printf("  %-20s ours %7.3f s  POV-Ray %7.3f s  ratio %.3f%s\n", name.c_str(), *ours, *povray,
              *ours / *povray, note.c_str());
}

// Both pairs at one size; the number of pairs that failed.
// The medians of `repeat` runs of each side, run in turn; nothing for a side when a run failed.
struct Pair {
  std::optional<double> ours, povray;
};
Pair medianPair(int repeat, const std::function<std::optional<double>()>& ours,
                const std::function<std::optional<double>()>& povray) {
  std::vector<double> times[2];
  bool failed[2] = {false, false};
  for (int run = 0; run < repeat; ++run) {
    int side = 0;
    for (const auto* measure : {&ours, &povray}) {
      const std::optional<double> time = (*measure)();
      failed[side] = failed[side] || !time;
      if (time) times[side].push_back(*time);
      ++side;
    }
  }
  const auto median = [&](int side) -> std::optional<double> {
    if (failed[side]) return std::nullopt;
    std::sort(times[side].begin(), times[side].end());
    return times[side][times[side].size() / 2];
  };
  return {median(0), median(1)};
}

int compareAt(const Size& size, const Options& options) {
  int failures = 0;
  std::printf("%s, anti-aliasing 0.3 depth 3, %d threads, median of %d runs, pictures in %s\n",
              size.text().c_str(), options.threads, options.repeat, options.out.c_str());
  std::printf(" trace: the render call against POV-Ray's Trace Time\n");
  int index = 0;
  for (const BenchScene& scene : {reflectiveSpheres(), triangleMesh(), csgBlocks()}) {
    const std::string file = "scene" + std::to_string(++index) + "-" + size.text();
    const fs::path source = options.out / (file + ".pov");
    std::ofstream(source) << povraySource(scene, size.width, size.height);
    const Pair pair = medianPair(
        options.repeat, [&] { return traceOurs(scene, size, (options.out / (file + "-ours.ppm")).string()); },
        [&]() -> std::optional<double> {
          if (!timed(povrayCommand(source, file, size, options))) return std::nullopt;
          return povrayTraceTime(options.out / (file + "-povray.log"));
        });
    failures += !pair.ours || !pair.povray;
    printPair(scene.name, pair.ours, pair.povray, "");
  }
  std::printf(" whole process: lumetra render against povray of the exported scene\n");
  for (const fs::path& scene : options.scenes) {
    const std::string file = scene.stem().string() + "-" + size.text();
    const fs::path source = options.out / (file + ".pov");
    const std::string common = " " + quoted(scene) + " --size " + size.text();
    const bool exported =
        timed(quoted(options.lumetra) + " export-pov" + common + " -o " + quoted(source) + " > /dev/null")
            .has_value();
    const Pair pair = medianPair(
        options.repeat,
        [&] {
          return timed(quoted(options.lumetra) + " render" + common + " -o " +
                       quoted(options.out / (file + "-ours.png")) +
                       " --antialias 3 --progress none --threads " + std::to_string(options.threads) +
                       " > /dev/null");
        },
        [&]() -> std::optional<double> {
          if (!exported) return std::nullopt;
          return timed(povrayCommand(source, file, size, options));
        });
    const auto trace = pair.povray ? povrayTraceTime(options.out / (file + "-povray.log")) : std::nullopt;
    std::ostringstream note;
    if (trace) note << "  (POV-Ray's trace " << *trace << " s)";
    failures += !pair.ours || !pair.povray;
    printPair(scene.stem().string(), pair.ours, pair.povray, note.str());
  }
  return failures;
}

std::optional<Size> parseSize(const std::string& text) {
  Size size{};
  char by = 0, rest = 0;
  if (std::sscanf(text.c_str(), "%d%c%d%c", &size.width, &by, &size.height, &rest) != 3 || by != 'x' ||
      size.width <= 0 || size.height <= 0) {
    return std::nullopt;
  }
  return size;
}

bool parse(int argc, char** argv, Options& options) {
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string flag = argv[i], value = argv[i + 1];
    if (flag == "--size") {
      const auto size = parseSize(value);
      if (!size) return false;
      options.sizes.push_back(*size);
    } else if (flag == "--threads") {
      options.threads = std::atoi(value.c_str());
    } else if (flag == "--repeat") {
      options.repeat = std::atoi(value.c_str());
    } else if (flag == "--out") {
      options.out = value;
    } else if (flag == "--lumetra") {
      options.lumetra = value;
    } else if (flag == "--scene") {
      options.scenes.push_back(fs::absolute(value));
    } else {
      return false;
    }
  }
  if (options.sizes.empty()) options.sizes = {{640, 480}, {1280, 960}};
  if (options.scenes.empty()) {
    options.scenes = {fs::path(LUMETRA_BENCH_DIR) / "showcase/showcase.json",
                      fs::path(LUMETRA_BENCH_DIR) / "compare-povray/scenes/textured.json"};
  }
  return argc % 2 == 1 && options.threads > 0 && options.repeat > 0;
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  options.lumetra = fs::absolute(argv[0]).parent_path() / "lumetra";
  if (!parse(argc, argv, options)) {
    std::fprintf(stderr,
                 "usage: %s [--size WxH]... [--threads N] [--repeat N] [--out DIR] [--lumetra PATH] "
                 "[--scene FILE]...\n",
                 argv[0]);
    return 2;
  }
  // The library in this process renders with the same thread count as POV-Ray and lumetra.
  if (setenv("LUMETRA_THREADS", std::to_string(options.threads).c_str(), 1) != 0) {
    std::perror("LUMETRA_THREADS");
    return 2;
  }
  fs::create_directories(options.out);
  int failures = 0;
  for (const Size& size : options.sizes) failures += compareAt(size, options);
  return failures == 0 ? 0 : 1;
}
