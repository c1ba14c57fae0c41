#include "app/farm_slurm.h"

#include <algorithm>
#include <nlohmann/json.hpp>
#include <sstream>

namespace lumetra::app {
namespace {

using nlohmann::json;

// A word for sh, quoted so that nothing in it is special.
std::string Quoted(const std::string& word) {
  std::string quoted = "'";
  for (const char c : word) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

std::string Line(const std::vector<std::string>& words) {
  std::string line;
  for (const std::string& word : words) line += (line.empty() ? "" : " ") + Quoted(word);
  return line;
}

// sbatch options every job of the farm job gets: where it runs and logs, what the user
// added.
std::vector<std::string> CommonOptions(const FarmJob& job, const std::string& name) {
  std::vector<std::string> options = {"sbatch", "--parsable", "--job-name=" + name, "--chdir=" + job.folder};
  if (!job.partition.empty()) options.push_back("--partition=" + job.partition);
  return options;
}

std::string ScriptHeader(const FarmJob& job, const std::string& what) {
  return "#!/bin/sh\n# " + what +
         "\n# Written by `lumetra farm submit`; the job's record is farm.json beside it.\nset -u\ncd " +
         Quoted(job.folder) + " || exit 1\n";
}

json ArgsToJson(const AnimateArgs& args) {
  return {{"scene", args.scene},
          {"output", args.output},
          {"format", args.format},
          {"codec", args.codec},
          {"quality", args.quality},
          {"keyframes", args.keyFrames},
          {"data_rate", args.dataRate},
          {"start", args.start},
          {"end", args.end},
          {"rate", args.rate},
          {"fps", args.fps},
          {"size", args.size},
          {"method", args.method},
          {"drop_last", args.dropLastFrame}};
}

AnimateArgs ArgsFromJson(const json& value) {
  AnimateArgs args;
  args.scene = value.at("scene").get<std::string>();
  args.output = value.at("output").get<std::string>();
  args.format = value.at("format").get<std::string>();
  args.codec = value.at("codec").get<std::string>();
  args.quality = value.at("quality").get<int>();
  args.keyFrames = value.at("keyframes").get<int>();
  args.dataRate = value.at("data_rate").get<int>();
  args.start = value.at("start").get<std::string>();
  args.end = value.at("end").get<std::string>();
  args.rate = value.at("rate").get<int>();
  args.fps = value.at("fps").get<std::string>();
  args.size = value.at("size").get<std::string>();
  args.method = value.at("method").get<std::string>();
  args.dropLastFrame = value.at("drop_last").get<bool>();
  return args;
}

}  // namespace

std::vector<FrameRange> FarmJob::Chunks() const { return app::Chunks(frames, chunk); }

std::string FarmJob::FramePicture(int32_t index) const {
  std::string base = render.output;
  const std::string extension = PictureExtension(render.format);
  if (base.size() > extension.size() &&
      base.compare(base.size() - extension.size(), extension.size(), extension) == 0)
    base.resize(base.size() - extension.size());
  return FramePath(base, index, extension);
}

std::string FarmJobToJson(const FarmJob& job) {
  const json value = {{"format", "lumetra-farm-job"},
                      {"folder", job.folder},
                      {"render", ArgsToJson(job.render)},
                      {"movie", job.movie},
                      {"frames", FrameRangeText(job.frames)},
                      {"chunk", job.chunk},
                      {"cpus", job.cpus},
                      {"partition", job.partition},
                      {"sbatch_args", job.sbatchArgs},
                      {"lumetra", job.lumetra},
                      {"arrays", job.arrays},
                      {"joins", job.joins},
                      {"retried", job.retried}};
  return value.dump(2) + "\n";
}

std::optional<FarmJob> FarmJobFromJson(const std::string& text, std::string& problem) {
  const json value = json::parse(text, nullptr, false);
  if (!value.is_object() || value.value("format", "") != "lumetra-farm-job") {
    problem = "not a farm job's record";
    return std::nullopt;
  }
  try {
    FarmJob job;
    job.folder = value.at("folder").get<std::string>();
    job.render = ArgsFromJson(value.at("render"));
    job.movie = value.at("movie").get<std::string>();
    const std::optional<FrameRange> frames = ParseFrameRange(value.at("frames").get<std::string>(), problem);
    if (!frames) return std::nullopt;
    job.frames = *frames;
    job.chunk = value.at("chunk").get<int32_t>();
    job.cpus = value.at("cpus").get<int32_t>();
    job.partition = value.at("partition").get<std::string>();
    job.sbatchArgs = value.at("sbatch_args").get<std::vector<std::string>>();
    job.lumetra = value.at("lumetra").get<std::string>();
    job.arrays = value.at("arrays").get<std::vector<std::string>>();
    job.joins = value.at("joins").get<std::vector<std::string>>();
    job.retried = value.at("retried").get<bool>();
    if (job.chunk < 1 || job.cpus < 1) {
      problem = "the record's chunk and cores must be 1 or more";
      return std::nullopt;
    }
    return job;
  } catch (const json::exception& error) {
    problem = std::string("the record is incomplete: ") + error.what();
    return std::nullopt;
  }
}

std::vector<std::string> AnimateOptions(const AnimateArgs& args) {
  std::vector<std::string> options;
  const auto text = [&](const char* name, const std::string& value) {
    if (!value.empty()) options.insert(options.end(), {name, value});
  };
  const auto number = [&](const char* name, int value) {
    if (value >= 0) options.insert(options.end(), {name, std::to_string(value)});
  };
  text("--output", args.output);
  text("--format", args.format);
  text("--codec", args.codec);
  number("--quality", args.quality);
  number("--keyframes", args.keyFrames);
  number("--data-rate", args.dataRate);
  text("--start", args.start);
  text("--end", args.end);
  number("--rate", args.rate);
  text("--fps", args.fps);
  text("--size", args.size);
  text("--method", args.method);
  if (args.dropLastFrame) options.push_back("--drop-last-frame");
  return options;
}

std::string ArrayRanges(const std::vector<int32_t>& tasks) {
  std::string ranges;
  for (size_t k = 0; k < tasks.size();) {
    size_t end = k;
    while (end + 1 < tasks.size() && tasks[end + 1] == tasks[end] + 1) ++end;
    ranges += (ranges.empty() ? "" : ",") + std::to_string(tasks[k]) +
              (end > k ? "-" + std::to_string(tasks[end]) : std::string());
    k = end + 1;
  }
  return ranges;
}

std::vector<std::string> ArrayCommand(const FarmJob& job, const std::vector<int32_t>& tasks) {
  std::vector<std::string> command = CommonOptions(job, "lumetra-frames");
  command.insert(command.end(), {"--array=" + ArrayRanges(tasks), "--requeue", "--open-mode=append",
                                 "--cpus-per-task=" + std::to_string(job.cpus), "--ntasks=1",
                                 "--output=logs/task-%a.out", "--error=logs/task-%a.log"});
  command.insert(command.end(), job.sbatchArgs.begin(), job.sbatchArgs.end());
  command.push_back("task.sh");
  return command;
}

std::vector<std::string> JoinCommand(const FarmJob& job, const std::string& array) {
  std::vector<std::string> command = CommonOptions(job, "lumetra-join");
  command.insert(command.end(), {"--dependency=afterany:" + array, "--cpus-per-task=1", "--ntasks=1",
                                 "--open-mode=append", "--output=logs/join.out", "--error=logs/join.out"});
  command.insert(command.end(), job.sbatchArgs.begin(), job.sbatchArgs.end());
  command.push_back("join.sh");
  return command;
}

std::string TaskScript(const FarmJob& job) {
  std::ostringstream script;
  script << ScriptHeader(job,
                         "One task of a lumetra render farm job: the frames of chunk $SLURM_ARRAY_TASK_ID.")
         << "case \"${SLURM_ARRAY_TASK_ID:-}\" in\n";
  const std::vector<FrameRange> chunks = job.Chunks();
  for (size_t k = 0; k < chunks.size(); ++k)
    script << "  " << k << ") frames=" << FrameRangeText(chunks[k]) << " ;;\n";
  script << "  *) echo \"no chunk ${SLURM_ARRAY_TASK_ID:-}\" >&2; exit 2 ;;\nesac\n"
         << "# The renderer runs as many threads as the task was given cores, whatever the node has.\n"
         << "export LUMETRA_THREADS=\"${SLURM_CPUS_PER_TASK:-1}\"\n"
         << "echo \"frames $frames on $LUMETRA_THREADS thread(s), $(nproc) core(s) visible\"\n"
         << "# Frames already there as rendered stay: a requeued or retried task renders the rest.\n"
         << "exec " << Quoted(job.lumetra) << " animate " << Quoted(job.render.scene) << " "
         << Line(AnimateOptions(job.render)) << " --frames \"$frames\" --resume --progress json\n";
  return script.str();
}

std::string JoinScript(const FarmJob& job) {
  return ScriptHeader(job, "The join of a lumetra render farm job: every frame there, then the movie.") +
         "exec " + Quoted(job.lumetra) + " farm join " + Quoted(job.folder) + "\n";
}

std::optional<std::string> ParseJobId(const std::string& printed) {
  std::string id = printed.substr(0, printed.find_first_of(";\r\n"));
  if (id.empty() || !std::all_of(id.begin(), id.end(), [](char c) { return c >= '0' && c <= '9'; }))
    return std::nullopt;
  return id;
}

std::map<std::string, std::string> ParseQueue(const std::string& printed, const std::string& array) {
  std::map<std::string, std::string> states;
  std::istringstream lines(printed);
  std::string id, state;
  while (lines >> id >> state) {
    if (id.rfind(array + "_", 0) == 0) {
      // A pending array's tasks may stand together: "12_[3-5]".
      states[id.substr(array.size() + 1)] = state;
    } else if (id == array) {
      states[""] = state;
    }
  }
  return states;
}

std::optional<TaskProgress> LastProgress(const std::string& log) {
  size_t end = log.size();
  while (end > 0) {
    const size_t start = log.rfind('\n', end - 1);
    const size_t from = start == std::string::npos ? 0 : start + 1;
    const json line = json::parse(log.substr(from, end - from), nullptr, false);
    if (line.is_object() && line.contains("frame") && line.contains("percent")) {
      return TaskProgress{line.value("frame", 0), line.value("frames", 0), line.value("percent", 0),
                          line.value("left", -1.0)};
    }
    if (start == std::string::npos) break;
    end = start;
  }
  return std::nullopt;
}

}  // namespace lumetra::app
