// A layout storage in memory: the saved text and the backup as plain
// values, and switches that make each call fail as a file system would.
#pragma once

#include <optional>
#include <string>
#include <utility>

#include "core/runtime_error.hpp"
#include "restore/layout_storage.hpp"

namespace corvella::testing {

class MemoryLayoutStorage final : public LayoutStorage {
 public:
  std::optional<std::string> Load() override {
    if (fail_load) Fail();
    return saved;
  }
  void Save(std::string_view content) override {
    if (fail_save) throw RuntimeError(save_failure, "storage failed");
    saved = std::string(content);
  }
  void KeepNewer() override {}  // a copy aside leaves the saved text as it is
  void MarkRestored() override {
    if (fail_mark || !saved) Fail();
    backup = std::exchange(saved, std::nullopt);
  }
  std::optional<std::string> LoadPicture() override { return picture; }
  void SavePicture(std::string_view content) override {
    if (fail_picture) Fail();
    picture = std::string(content);
  }
  void ForgetPicture() override {
    if (fail_picture) Fail();
    picture.reset();
  }
  [[nodiscard]] std::string Location() const override { return "C:\\Users\\me\\AppData\\Local\\Corvella\\layout.tsv"; }

  std::optional<std::string> saved;
  std::optional<std::string> backup;
  std::optional<std::string> picture;
  bool fail_load = false;
  bool fail_picture = false;  // the record can be neither replaced nor removed
  bool fail_save = false;
  RuntimeErrorKind save_failure = RuntimeErrorKind::ServiceFailure;
  bool fail_mark = false;

 private:
  [[noreturn]] static void Fail() { throw RuntimeError(RuntimeErrorKind::ServiceFailure, "storage failed"); }
};

}  // namespace corvella::testing
