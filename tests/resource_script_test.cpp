#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "icon_file_view.hpp"

namespace corvella::testing {
namespace {

#ifdef CORVELLA_COMPILED_RESOURCES

// One entry of a compiled resource file. Types and names given by number are
// written "#3"; those given by name are kept as text.
struct CompiledResource {
  std::string type;
  std::string name;
  std::uint32_t language = 0;
  std::vector<std::uint8_t> data;
};

std::size_t AlignFour(std::size_t at) { return (at + 3) & ~std::size_t{3}; }

std::string ReadId(std::span<const std::uint8_t> bytes, std::size_t& at) {
  if (Le16(bytes, at) == 0xFFFF) {
    at += 4;
    return "#" + std::to_string(Le16(bytes, at - 2));
  }
  std::string text;
  for (; Le16(bytes, at) != 0; at += 2) {
    text += static_cast<char>(Le16(bytes, at));
  }
  at += 2;
  return text;
}

std::vector<CompiledResource> ReadCompiledResources() {
  const auto bytes = ReadBytes(CORVELLA_COMPILED_RESOURCES);
  std::vector<CompiledResource> resources;
  for (std::size_t at = 0; at + 32 <= bytes.size();) {
    const auto data_size = Le32(bytes, at);
    const auto header_size = Le32(bytes, at + 4);
    auto field = at + 8;
    CompiledResource resource;
    resource.type = ReadId(bytes, field);
    resource.name = ReadId(bytes, field);
    resource.language = Le16(bytes, AlignFour(field) + 6);
    if (at + header_size + data_size > bytes.size()) {
      throw std::out_of_range("a resource runs past the end of the file");
    }
    const auto data = bytes.begin() + static_cast<std::ptrdiff_t>(at + header_size);
    resource.data.assign(data, data + data_size);
    resources.push_back(resource);
    at = AlignFour(at + header_size + data_size);
  }
  return resources;
}

// A node of the version resource: its key, its value bytes and its children.
struct VersionNode {
  std::size_t length = 0;  // in bytes, with the children
  std::u16string key;
  std::vector<std::uint8_t> value;
  std::vector<VersionNode> children;

  [[nodiscard]] const VersionNode& Child(std::u16string_view child_key) const {
    for (const auto& child : children) {
      if (child.key == child_key) {
        return child;
      }
    }
    throw std::runtime_error("no such node in the version resource");
  }

  [[nodiscard]] std::u16string Text() const {
    std::u16string text;
    for (std::size_t at = 0; at + 1 < value.size() && Le16(value, at) != 0; at += 2) {
      text += static_cast<char16_t>(Le16(value, at));
    }
    return text;
  }
};

VersionNode ReadVersionNode(std::span<const std::uint8_t> bytes) {
  const auto length = Le16(bytes, 0);
  const auto value_length = Le16(bytes, 2);
  const bool text = Le16(bytes, 4) == 1;  // text values count characters, not bytes
  VersionNode node;
  node.length = length;
  std::size_t at = 6;
  for (; Le16(bytes, at) != 0; at += 2) {
    node.key += static_cast<char16_t>(Le16(bytes, at));
  }
  at = AlignFour(at + 2);
  const auto value_bytes = text ? 2U * value_length : value_length;
  if (length < 6 || length > bytes.size() || at + value_bytes > length) {
    throw std::out_of_range("a version node runs past its end");
  }
  node.value.assign(bytes.begin() + static_cast<std::ptrdiff_t>(at),
                    bytes.begin() + static_cast<std::ptrdiff_t>(at + value_bytes));
  for (at = AlignFour(at + value_bytes); at < length; at = AlignFour(at + node.children.back().length)) {
    node.children.push_back(ReadVersionNode(bytes.subspan(at, length - at)));
  }
  return node;
}

class CompiledResources : public ::testing::Test {
 protected:
  [[nodiscard]] const CompiledResource& Find(std::string_view type, std::string_view name) const {
    for (const auto& resource : resources_) {
      if (resource.type == type && resource.name == name) {
        return resource;
      }
    }
    throw std::runtime_error("no resource " + std::string(type) + "/" + std::string(name));
  }

  std::vector<CompiledResource> resources_ = ReadCompiledResources();
};

TEST_F(CompiledResources, EmbedTheHeartIconAsCustomResourceInUsEnglish) {
  const auto& heart = Find("CUSTOM", "HEART");
  EXPECT_EQ(heart.language, 1033U);
  EXPECT_EQ(heart.data.size(), 2240U);
  EXPECT_EQ(heart.data, ReadResource("heart.ico"));
}

TEST_F(CompiledResources, IconGroupOnePointsAtIconImage30001) {
  const auto& group = Find("#14", "#1");
  EXPECT_EQ(group.language, 1033U);
  EXPECT_EQ(group.data, ReadResource("corvella_icon_group.bin"));
  ASSERT_EQ(group.data.size(), 20U);
  EXPECT_EQ(Le16(group.data, 18), 30001U);
  const auto& image = Find("#3", "#" + std::to_string(Le16(group.data, 18)));
  EXPECT_EQ(image.language, 1033U);
  EXPECT_EQ(image.data, ReadResource("corvella_icon_image.bin"));
  EXPECT_EQ(image.data.size(), Le32(group.data, 14));
}

TEST_F(CompiledResources, VersionIsOneWithAJapaneseStringTable) {
  const auto root = ReadVersionNode(Find("#16", "#1").data);
  EXPECT_EQ(root.key, u"VS_VERSION_INFO");
  ASSERT_EQ(root.value.size(), 52U);
  EXPECT_EQ(Le32(root.value, 0), 0xFEEF04BDU);
  EXPECT_EQ(Le32(root.value, 8), 0x00010000U);   // file version 1.0
  EXPECT_EQ(Le32(root.value, 12), 0U);           // .0.0
  EXPECT_EQ(Le32(root.value, 16), 0x00010000U);  // product version 1.0
  EXPECT_EQ(Le32(root.value, 20), 0U);
  EXPECT_EQ(Le32(root.value, 32), 0x00040004U);  // 32-bit Windows NT
  EXPECT_EQ(Le32(root.value, 36), 1U);           // an application

  const auto& strings = root.Child(u"StringFileInfo").Child(u"041104B0");
  EXPECT_EQ(strings.children.size(), 7U);
  EXPECT_EQ(strings.Child(u"FileVersion").Text(), u"1.00");
  EXPECT_EQ(strings.Child(u"ProductVersion").Text(), u"1.00");
  EXPECT_EQ(strings.Child(u"ProductName").Text(), u"Corvella");
  EXPECT_EQ(strings.Child(u"InternalName").Text(), u"Corvella");
  EXPECT_EQ(strings.Child(u"OriginalFilename").Text(), u"Corvella.exe");
  // The Japanese legal notices come through the resource compiler intact.
  EXPECT_EQ(strings.Child(u"LegalCopyright").Text(), u"Copyright (C) Corvella の作者");
  EXPECT_EQ(strings.Child(u"LegalTrademarks").Text(), u"商標はありません");

  const auto& translation = root.Child(u"VarFileInfo").Child(u"Translation");
  EXPECT_EQ(translation.value, (std::vector<std::uint8_t>{0x11, 0x04, 0xB0, 0x04}));
}

TEST_F(CompiledResources, ManifestAsksForCommonControlsSixAndPerMonitorDpi) {
  const auto& manifest = Find("#24", "#1");
  EXPECT_EQ(manifest.data, ReadResource("corvella.manifest"));
  const std::string text(manifest.data.begin(), manifest.data.end());
  for (const auto* needed : {R"(name="Microsoft.Windows.Common-Controls" version="6.0.0.0")",
                             "<dpiAware xmlns=\"http://schemas.microsoft.com/SMI/2005/WindowsSettings\">true/pm<",
                             ">PerMonitorV2, PerMonitor</dpiAwareness>", R"(level="asInvoker")",
                             "{e2011457-1546-43c5-a5fe-008deee3d3f0}", "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"}) {
    EXPECT_NE(text.find(needed), std::string::npos) << needed;
  }
}

#else

TEST(CompiledResources, NeedTheWindowsResourceCompiler) {
  GTEST_SKIP() << "i686-w64-mingw32-windres was not found; the resource script was not compiled";
}

#endif

}  // namespace
}  // namespace corvella::testing
