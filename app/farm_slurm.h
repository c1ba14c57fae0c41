#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "app/animate_command.h"
#include "app/farm_frames.h"

namespace lumetra::app {

// One animation on the farm, as `farm submit` leaves it in the job's folder (farm.json)
// for the tasks, the join, `status` and `cancel`.
struct FarmJob {
  std::string folder;  // absolute: on the file system every node shares
  // What every task renders: the packed scene, the frames' name (numbered pictures of
  // the format `render.format`), the settings; without --frames, which each task adds.
  AnimateArgs render;
  std::string movie;  // the AVI the join makes of the frames; empty: the frames are the result
  FrameRange frames;  // every frame of the animation
  int32_t chunk = 4;  // frames a task
  int32_t cpus = 1;   // cores a task
  std::string partition;
  std::vector<std::string> sbatchArgs;
  std::string lumetra;              // the command the nodes run
  std::vector<std::string> arrays;  // job ids of the task arrays, the first and a retry
  std::vector<std::string> joins;   // job ids of the joins
  bool retried = false;

  std::vector<FrameRange> Chunks() const;
  // The numbered picture of a frame.
  std::string FramePicture(int32_t index) const;
};

std::string FarmJobToJson(const FarmJob& job);
// Nothing, with `problem` said, when the text is no farm job.
std::optional<FarmJob> FarmJobFromJson(const std::string& text, std::string& problem);

// The command-line options that give `lumetra animate` these arguments (all but the
// scene, which comes first).
std::vector<std::string> AnimateOptions(const AnimateArgs& args);

// Task ids as sbatch's --array wants them: "0-7", "1,4-5".
std::string ArrayRanges(const std::vector<int32_t>& tasks);

// The command lines that submit the task array (of `tasks`, the chunks' numbers) and the
// join, which waits for `array` to end whatever became of its tasks: it retries failed
// ones once itself.
std::vector<std::string> ArrayCommand(const FarmJob& job, const std::vector<int32_t>& tasks);
std::vector<std::string> JoinCommand(const FarmJob& job, const std::string& array);

// The batch scripts the commands name (task.sh, join.sh).
std::string TaskScript(const FarmJob& job);
std::string JoinScript(const FarmJob& job);

// The job id in what `sbatch --parsable` printed ("123" or "123;cluster"); none when
// it printed no id.
std::optional<std::string> ParseJobId(const std::string& printed);

// `squeue -h -r -o "%i %T"` lines as array task (or job id) to state: "12_3 RUNNING"
// gives 3 -> RUNNING for array 12.
std::map<std::string, std::string> ParseQueue(const std::string& printed, const std::string& array);

// How far a task is in its frame, from the last line of its --progress json log.
struct TaskProgress {
  int frame = 0;
  int frames = 0;
  int percent = 0;
  double left = -1;
};
std::optional<TaskProgress> LastProgress(const std::string& log);

}  // namespace lumetra::app
