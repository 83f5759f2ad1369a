#include "resource_files.hpp"

#include <gtest/gtest.h>

#include <vector>

#include "core/runtime_error.hpp"
#include "scratch_folder.hpp"

namespace corvella {
namespace {

using testing::ScratchFolder;

RuntimeErrorKind FailureOf(ResourceFiles& resources, std::string_view name, std::string_view type) {
  try {
    resources.Read(name, type);
  } catch (const RuntimeError& error) {
    return error.kind();
  }
  ADD_FAILURE() << "read " << name << " of type " << type;
  return RuntimeErrorKind::Overflow;
}

TEST(ResourceFiles, TheHeartIsTheIconFileInTheFolderByteForByteWhateverTheCaseOfItsName) {
  ScratchFolder folder;
  std::vector<std::uint8_t> icon(2240);
  for (std::size_t i = 0; i < icon.size(); ++i) {
    icon[i] = static_cast<std::uint8_t>(i % 251);
  }
  icon[2238] = icon[2239] = 0;
  folder.WriteFile("heart.ico", icon);
  ResourceFiles resources(folder.path());

  EXPECT_EQ(resources.Read("HEART", "CUSTOM"), icon);
  EXPECT_EQ(resources.Read("heart", "custom"), icon);
  EXPECT_EQ(resources.Read("Heart", "Custom"), icon);
}

TEST(ResourceFiles, AnUnknownResourceOrAMissingFileRaises) {
  ScratchFolder folder;
  folder.WriteFile("heart.ico", {1, 2, 3});
  ResourceFiles resources(folder.path());
  EXPECT_EQ(FailureOf(resources, "HEARTS", "CUSTOM"), RuntimeErrorKind::ServiceFailure);
  EXPECT_EQ(FailureOf(resources, "HEART", "ICON"), RuntimeErrorKind::ServiceFailure);
  EXPECT_EQ(FailureOf(resources, "", "CUSTOM"), RuntimeErrorKind::ServiceFailure);

  ResourceFiles elsewhere(folder.Host("missing"));
  EXPECT_EQ(FailureOf(elsewhere, "HEART", "CUSTOM"), RuntimeErrorKind::ServiceFailure);
  std::filesystem::create_directory(folder.Host("folder"));
  std::filesystem::create_directory(folder.Host("folder") / "heart.ico");
  ResourceFiles with_a_folder(folder.Host("folder"));
  EXPECT_EQ(FailureOf(with_a_folder, "HEART", "CUSTOM"), RuntimeErrorKind::ServiceFailure);
}

}  // namespace
}  // namespace corvella
