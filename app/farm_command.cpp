#include "app/farm_command.h"

#include <unistd.h>

#include <CLI/CLI.hpp>
#include <filesystem>
#include <iostream>
#include <map>

#include "app/farm_slurm.h"
#include "app/plugin_location.h"
#include "host/file_finder.h"
#include "host/scene_file.h"
#include "host/scene_relocation.h"
#include "platform/file_io.h"
#include "platform/subprocess.h"

namespace lumetra::app {
namespace {

namespace fs = std::filesystem;

constexpr size_t kLargestRecord = size_t{1} << 20;
constexpr size_t kLargestLog = size_t{64} << 20;

int Fail(std::ostream& err, const std::string& message, int code = 1) {
  err << "lumetra farm: " << message << "\n";
  return code;
}

struct Captured {
  int exitCode = -1;
  std::string output;  // standard output and error together
  std::string error;   // why it could not be started
};

// Runs a program (of Slurm) and keeps what it printed.
Captured Capture(const std::vector<std::string>& command) {
  Captured captured;
  platform::SpawnOptions options;
  options.pipeOutput = true;
  const std::optional<platform::Subprocess> started = platform::Spawn(command, options, &captured.error);
  if (!started) return captured;
  char buffer[4096];
  for (ssize_t got; (got = read(started->output, buffer, sizeof buffer)) != 0;) {
    if (got > 0)
      captured.output.append(buffer, static_cast<size_t>(got));
    else if (errno != EINTR)
      break;
  }
  close(started->output);
  captured.exitCode = platform::WaitForExit(started->pid);
  return captured;
}

std::string Trimmed(std::string text) {
  while (!text.empty() && (text.back() == '\n' || text.back() == ' ')) text.pop_back();
  return text;
}

fs::path RecordOf(const std::string& folder) { return fs::path(folder) / "farm.json"; }

void Save(const FarmJob& job) {
  if (const std::error_code error = platform::WriteFileAtomically(RecordOf(job.folder), FarmJobToJson(job)))
    throw std::runtime_error("cannot write " + RecordOf(job.folder).string() + ": " + error.message());
}

// The job's folder, or the folder Slurm runs a job id in.
std::optional<FarmJob> Load(const std::string& job, std::ostream& err) {
  std::string folder = job;
  std::error_code error;
  if (!fs::is_directory(folder, error) && !job.empty() &&
      job.find_first_not_of("0123456789_") == std::string::npos) {
    const Captured where = Capture({"squeue", "-h", "-j", job.substr(0, job.find('_')), "-o", "%Z"});
    folder = Trimmed(where.output.substr(0, where.output.find('\n')));
    if (where.exitCode != 0 || folder.empty()) {
      Fail(err, "Slurm knows no job " + job + " (any more): name the job's folder instead");
      return std::nullopt;
    }
  }
  std::string text, problem;
  if (platform::ReadFileBounded(RecordOf(folder), kLargestRecord, text)) {
    Fail(err, "no farm job in '" + folder + "' (it has no farm.json)");
    return std::nullopt;
  }
  std::optional<FarmJob> loaded = FarmJobFromJson(text, problem);
  if (!loaded) Fail(err, RecordOf(folder).string() + ": " + problem);
  return loaded;
}

// Submits and answers the job id; throws with what sbatch said.
std::string Submit(const std::vector<std::string>& command) {
  const Captured done = Capture(command);
  const std::optional<std::string> id = done.exitCode == 0 ? ParseJobId(done.output) : std::nullopt;
  if (!id)
    throw std::runtime_error("sbatch failed: " + Trimmed(done.error.empty() ? done.output : done.error));
  return *id;
}

// Frames whose picture or record is not there.
std::vector<int32_t> MissingFrames(const FarmJob& job) {
  std::vector<int32_t> missing;
  std::error_code error;
  for (const int32_t index : job.frames.Indices()) {
    const fs::path picture = job.FramePicture(index);
    if (!fs::exists(picture, error) || !fs::exists(picture.string() + ".made", error))
      missing.push_back(index);
  }
  return missing;
}

// The chunks (by number) that hold any of `frames`.
std::vector<int32_t> ChunksHolding(const FarmJob& job, const std::vector<int32_t>& frames) {
  std::vector<int32_t> chunks;
  const std::vector<FrameRange> all = job.Chunks();
  for (size_t k = 0; k < all.size(); ++k) {
    for (const int32_t index : frames) {
      if (index >= all[k].first && index <= all[k].last) {
        chunks.push_back(static_cast<int32_t>(k));
        break;
      }
    }
  }
  return chunks;
}

// Submits the tasks of `chunks` and a join after them.
void SubmitTasks(FarmJob& job, const std::vector<int32_t>& chunks, std::ostream& out) {
  const std::string array = Submit(ArrayCommand(job, chunks));
  job.arrays.push_back(array);
  Save(job);
  const std::string join = Submit(JoinCommand(job, array));
  job.joins.push_back(join);
  Save(job);
  out << "Submitted " << chunks.size() << " task(s) as job array " << array << " and the join as job " << join
      << "\n";
}

void WriteScript(const fs::path& path, const std::string& text) {
  if (const std::error_code error = platform::WriteFileAtomically(path, text))
    throw std::runtime_error("cannot write " + path.string() + ": " + error.message());
  fs::permissions(path, fs::perms::owner_exec | fs::perms::group_exec | fs::perms::others_exec,
                  fs::perm_options::add);
}

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

int Submit(const FarmSubmitArgs& args, const std::string& pluginPath, std::ostream& out, std::ostream& err) {
  if (platform::FindProgram("sbatch").empty())
    return Fail(err, "sbatch is not on PATH: submit from a Slurm login node");
  if (args.chunk < 1 || args.cpus < 1) return Fail(err, "--chunk and --cpus must be 1 or more", 2);
  FarmJob job;
  job.render = args.render;
  // The output: a movie the join makes of PNG frames, or the numbered pictures themselves.
  fs::path output = args.render.output.empty() ? fs::path(args.render.scene).replace_extension(".avi")
                                               : fs::path(args.render.output);
  output = fs::absolute(output).lexically_normal();
  std::string format = Lower(args.render.format);
  if (format.empty()) format = output.has_extension() ? Lower(output.extension().string().substr(1)) : "avi";
  if (format == "avi") {
    job.movie = fs::path(output).replace_extension(".avi").string();
  } else if (PictureExtension(format).empty()) {
    return Fail(err, "cannot tell the format of '" + output.string() + "': give --format", 2);
  }
  const fs::path folder = fs::absolute(args.jobFolder.empty() ? fs::path(output).replace_extension(".farm")
                                                              : fs::path(args.jobFolder))
                              .lexically_normal();
  job.folder = folder.string();
  std::error_code error;
  if (fs::exists(RecordOf(job.folder), error)) {
    return Fail(err, "'" + job.folder + "' already holds a farm job: see `lumetra farm status " + job.folder +
                         "`, or remove the folder first");
  }
  fs::create_directories(folder / "logs");
  fs::create_directories(folder / "frames");
  job.render.scene = PackScene(args.render.scene, (folder / "scene").string());
  job.render.format = job.movie.empty() ? format : "png";
  job.render.output = job.movie.empty()
                          ? output.string()
                          : (folder / "frames" / output.stem()).string() + PictureExtension("png");
  job.render.progress = "none";
  const std::optional<abi::AnimationFramesRecord> frames = ListAnimationFrames(job.render, pluginPath, err);
  if (!frames) return 1;
  if (frames->count <= 0) return Fail(err, "the animation has no frames");
  job.frames = {frames->firstIndex, frames->firstIndex + frames->count - 1, 1};
  job.chunk = args.chunk;
  job.cpus = args.cpus;
  job.partition = args.partition;
  job.sbatchArgs = args.sbatchArgs;
  job.lumetra = (fs::path(platform::ExecutableFolder()) / "lumetra").string();
  WriteScript(folder / "task.sh", TaskScript(job));
  WriteScript(folder / "join.sh", JoinScript(job));
  Save(job);
  std::vector<int32_t> chunks(job.Chunks().size());
  for (size_t k = 0; k < chunks.size(); ++k) chunks[k] = static_cast<int32_t>(k);
  out << "Job folder " << job.folder << ": " << frames->count << " frames (" << frames->width << "x"
      << frames->height << ") in " << chunks.size() << " chunk(s) of " << job.chunk << "\n";
  SubmitTasks(job, chunks, out);
  return 0;
}

int Join(const std::string& jobName, const std::string& pluginPath, std::ostream& out, std::ostream& err) {
  std::optional<FarmJob> job = Load(jobName, err);
  if (!job) return 1;
  const std::vector<int32_t> missing = MissingFrames(*job);
  if (!missing.empty() && !job->retried) {
    job->retried = true;
    out << missing.size() << " frame(s) are not there; their tasks are tried once more\n";
    SubmitTasks(*job, ChunksHolding(*job, missing), out);
    return 0;
  }
  if (job->movie.empty()) {
    if (missing.empty()) {
      out << "All " << job->frames.Indices().size()
          << " frames are there: " << job->FramePicture(job->frames.first) << " ... "
          << job->FramePicture(job->frames.last) << "\n";
      return 0;
    }
    std::string names;
    for (const int32_t index : missing) names += "\n  " + job->FramePicture(index);
    return Fail(err, std::to_string(missing.size()) + " frame(s) are missing:" + names);
  }
  // The movie through the plug-in's own writer, from the frames the tasks made.
  AnimateArgs movie = job->render;
  movie.output = job->movie;
  movie.format = "avi";
  movie.picturesOutput = abi::kOutputPng;
  movie.picturesBase = fs::path(job->render.output).replace_extension("").string();
  movie.progress = "none";
  return RunAnimate(movie, pluginPath, out, err);
}

int Status(const std::string& jobName, std::ostream& out, std::ostream& err) {
  const std::optional<FarmJob> job = Load(jobName, err);
  if (!job) return 1;
  const size_t total = job->frames.Indices().size();
  const std::vector<int32_t> missing = MissingFrames(*job);
  out << "Job folder " << job->folder << "\nFrames: " << total - missing.size() << " of " << total
      << " done\n";
  for (const std::string& array : job->arrays) {
    const Captured queue = Capture({"squeue", "-h", "-r", "-t", "all", "-j", array, "-o", "%i %T"});
    const std::map<std::string, std::string> states = ParseQueue(queue.output, array);
    out << "Task array " << array << ": ";
    if (states.empty()) {
      const Captured accounted = Capture({"sacct", "-n", "-X", "-P", "-j", array, "-o", "JobID,State"});
      out << (accounted.exitCode == 0 && !Trimmed(accounted.output).empty()
                  ? "ended\n" + Trimmed(accounted.output)
                  : "no task in the queue")
          << "\n";
      continue;
    }
    std::map<std::string, int> counts;
    for (const auto& [task, state] : states) ++counts[state];
    for (const auto& [state, count] : counts) out << count << " " << state << " ";
    out << "\n";
    for (const auto& [task, state] : states) {
      if (state != "RUNNING") continue;
      std::string log;
      if (platform::ReadFileBounded(fs::path(job->folder) / "logs" / ("task-" + task + ".log"), kLargestLog,
                                    log))
        continue;
      if (const std::optional<TaskProgress> progress = LastProgress(log)) {
        out << "  task " << task << ": frame " << progress->frame << " of " << progress->frames << ", "
            << progress->percent << "%";
        if (progress->left >= 0) out << ", " << static_cast<int>(progress->left + 0.5) << " s left";
        out << "\n";
      }
    }
  }
  for (const std::string& join : job->joins) {
    const Captured queue = Capture({"squeue", "-h", "-t", "all", "-j", join, "-o", "%T"});
    const std::string state = Trimmed(queue.output);
    out << "Join " << join << ": " << (state.empty() ? "not in the queue" : state) << "\n";
  }
  if (!job->movie.empty()) {
    out << "Movie " << job->movie << (fs::exists(job->movie) ? " is there" : " is not made yet") << "\n";
  }
  return 0;
}

int Cancel(const std::string& jobName, std::ostream& out, std::ostream& err) {
  const std::optional<FarmJob> job = Load(jobName, err);
  if (!job) return 1;
  std::vector<std::string> command = {"scancel"};
  command.insert(command.end(), job->arrays.begin(), job->arrays.end());
  command.insert(command.end(), job->joins.begin(), job->joins.end());
  const Captured done = Capture(command);
  if (done.exitCode != 0)
    return Fail(err, "scancel failed: " + Trimmed(done.error.empty() ? done.output : done.error));
  out << "Cancelled the jobs of " << job->folder << "; the frames made stay (a later run resumes them)\n";
  return 0;
}

// Runs a farm action, turning failures of files, scenes and Slurm into a message.
int Reporting(std::ostream& err, const std::function<int()>& action) {
  try {
    return action();
  } catch (const std::exception& error) {
    return Fail(err, error.what());
  }
}

}  // namespace

std::string PackScene(const std::string& scenePath, const std::string& folder) {
  host::Scene scene = host::LoadScene(scenePath);
  const host::FileFinder finder(host::FolderOf(scenePath), scene.searchPaths);
  fs::create_directories(fs::path(folder) / "files");
  std::map<std::string, std::string> copies;  // found file -> its name in the copy
  host::RewriteFileNames(scene, [&](int32_t kind, const std::string& name) {
    const std::optional<std::string> found = finder.Find(kind, name);
    if (!found) throw host::SceneFileError(scenePath + ": file \"" + name + "\" not found");
    const std::string key = fs::canonical(*found).string();
    auto [place, added] = copies.try_emplace(key);
    if (added) {
      place->second = "files/" + std::to_string(copies.size()) + "-" + fs::path(key).filename().string();
      fs::copy_file(key, fs::path(folder) / place->second, fs::copy_options::overwrite_existing);
    }
    return place->second;
  });
  scene.searchPaths.clear();
  const std::string copy = (fs::path(folder) / fs::path(scenePath).filename()).string();
  host::SaveScene(scene, copy);
  return copy;
}

int RunFarmSubmit(const FarmSubmitArgs& args, const std::string& pluginPath, std::ostream& out,
                  std::ostream& err) {
  return Reporting(err, [&] { return Submit(args, pluginPath, out, err); });
}

int RunFarmStatus(const std::string& job, std::ostream& out, std::ostream& err) {
  return Reporting(err, [&] { return Status(job, out, err); });
}

int RunFarmCancel(const std::string& job, std::ostream& out, std::ostream& err) {
  return Reporting(err, [&] { return Cancel(job, out, err); });
}

int RunFarmJoin(const std::string& job, const std::string& pluginPath, std::ostream& out, std::ostream& err) {
  return Reporting(err, [&] { return Join(job, pluginPath, out, err); });
}

void RegisterFarmCommand(CLI::App& root, const GlobalOptions& options, int& exitCode) {
  CLI::App* farm = root.add_subcommand("farm", "Render an animation on a Slurm cluster");
  farm->require_subcommand(1);

  auto submit = std::make_shared<FarmSubmitArgs>();
  CLI::App* command = farm->add_subcommand(
      "submit", "Pack the scene into a job folder and submit a task array of frame chunks and a join");
  command->add_option("SCENE", submit->render.scene, "The scene file")->required()->check(CLI::ExistingFile);
  command->add_option("-o,--output", submit->render.output,
                      "The movie (.avi) or the numbered pictures' name, on the shared file system (default: "
                      "the scene's name, .avi)");
  AddAnimationOptions(*command, submit->render);
  command->add_option("--chunk", submit->chunk, "Frames a task renders (default 4)")
      ->check(CLI::Range(1, 1000000));
  command->add_option("--cpus", submit->cpus, "Cores a task renders on (--cpus-per-task; default 1)")
      ->check(CLI::Range(1, 4096));
  command->add_option("--partition", submit->partition, "The Slurm partition of every job");
  command->add_option("--sbatch-arg", submit->sbatchArgs, "An option for every sbatch call (repeatable)")
      ->allow_extra_args(false);
  command->add_option("--job-folder", submit->jobFolder,
                      "The job's folder on the shared file system (default: beside the output, <name>.farm)");
  command->footer(
      "The folder gets the scene and its files, the frames (for a movie), the tasks' logs and farm.json.\n"
      "Every task runs `lumetra animate --frames A-B --resume` on its chunk; the join waits for all of\n"
      "them, submits the chunks with missing frames once more, then makes the movie of the frames\n"
      "with the scene's codec settings (or checks the numbered pictures). Prints the job ids.\n");
  command->callback([submit, &options, &exitCode] {
    exitCode = RunFarmSubmit(*submit, LocatePlugin(options.plugin), std::cout, std::cerr);
  });

  auto job = std::make_shared<std::string>();
  const auto jobArgument = [job](CLI::App* sub) {
    sub->add_option("JOB", *job, "The job's folder, or a job id Slurm still knows")->required();
  };
  CLI::App* status =
      farm->add_subcommand("status", "Frames done, the tasks' states and how far the running ones are");
  jobArgument(status);
  status->callback([job, &exitCode] { exitCode = RunFarmStatus(*job, std::cout, std::cerr); });
  CLI::App* cancel = farm->add_subcommand("cancel", "Cancel the job's tasks and join; the frames made stay");
  jobArgument(cancel);
  cancel->callback([job, &exitCode] { exitCode = RunFarmCancel(*job, std::cout, std::cerr); });
  CLI::App* join = farm->add_subcommand(
      "join", "What the join job runs: check every frame, retry missing chunks once, make the movie");
  jobArgument(join);
  join->callback([job, &options, &exitCode] {
    exitCode = RunFarmJoin(*job, LocatePlugin(options.plugin), std::cout, std::cerr);
  });
}

}  // namespace lumetra::app
