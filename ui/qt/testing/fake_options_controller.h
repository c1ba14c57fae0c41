#pragma once

#include <string>
#include <vector>

#include "ui/options_window.h"

namespace lumetra::ui::qt::testing {

// A controller that shows a settable state and records what the sheet hands it.
class FakeOptions final : public OptionsController {
 public:
  OptionsViewState state;
  std::vector<std::string> calls;
  bool accepts = true;
  bool acceptsRate = true;
  std::vector<CompressorEntry> compressors;
  CompressorChoice compressor;

  OptionsViewState State() override { return state; }
  void EditText(OptionsEdit edit, const std::string& text) override {
    calls.push_back("edit " + std::to_string(static_cast<size_t>(edit)) + " " + text);
  }
  void SelectMethod(int32_t method) override { Record("method", method); }
  void SelectShading(int32_t shading) override { Record("shading", shading); }
  void SetFlag(size_t box, bool checked) override {
    Record("flag " + std::to_string(box), checked);
    state.rendering.flags[box] = checked;
  }
  void AbortJob(int32_t row) override { Record("abort", row); }
  void AbortAllJobs() override { calls.push_back("abort all"); }
  void SelectFrameRate(int32_t choice) override { Record("rate", choice); }
  void SelectTimeDisplay(int32_t choice) override { Record("display", choice); }
  void SelectFileFormat(int32_t choice) override {
    Record("format", choice);
    state.animation.fileFormat = choice;
    state.animation.baseNameEnabled = choice != 0;
    state.animation.selectEnabled = choice == 0;
  }
  void SelectKeySteps(int32_t choice) override { Record("keys", choice); }
  void SetDropLastFrame(bool checked) override { Record("drop", checked); }
  void LoadDefaults() override { calls.push_back("load"); }
  void SaveDefaults() override { calls.push_back("save"); }
  bool SetCustomRate(const std::string& text) override {
    calls.push_back("custom " + text);
    return acceptsRate;
  }
  void Rescale(const std::string& start, const std::string& end) override {
    calls.push_back("rescale " + start + " " + end);
  }
  std::vector<CompressorEntry> Compressors() const override { return compressors; }
  CompressorChoice Compressor() const override { return compressor; }
  void ChooseCompressor(const CompressorChoice& choice) override {
    Record("compressor", static_cast<int>(choice.handler));
    compressor = choice;
  }
  bool Accept() override {
    calls.push_back("accept");
    return accepts;
  }

 private:
  void Record(const std::string& what, int value) { calls.push_back(what + " " + std::to_string(value)); }
};

}  // namespace lumetra::ui::qt::testing
