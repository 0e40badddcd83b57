#include "../support/converted_scene.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace quillmere::test {
namespace {

namespace fs = std::filesystem;

// Scene files in a folder of their own, converted as quillmere-check does.
class InlineFiles : public testing::Test {
protected:
  void SetUp() override {
    folder_ = fs::temp_directory_path() / ("quillmere-inline-" + std::to_string(::getpid()));
    fs::create_directories(folder_ / "parts");
  }
  void TearDown() override { fs::remove_all(folder_); }

  void write(const std::string& name, const std::string& body) {
    std::ofstream(folder_ / name) << kHeader << body;
  }

  ConversionResult convertFile(const std::string& name, std::string& output) {
    SceneRead read = readScene(std::string(kHeader) + "Separator { WWWInline { name \"" + name + "\" } }");
    EXPECT_TRUE(read.root);
    DvGroup root;
    ConversionOptions options;
    options.sceneFolder = folder_.string();
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    ConversionResult result = convertScene(*read.root, root, options);
    output = testing::internal::GetCapturedStderr();
    testing::internal::GetCapturedStdout();
    return result;
  }

  fs::path folder_;
};

const std::string kTriangle = "Separator { " + pointsAndNormals("0 0 0, 1 0 0, 0 1 0", 3) +
                              "IndexedFaceSet { coordIndex [0, 1, 2] } } ";

TEST_F(InlineFiles, LocalFilesAreConvertedInPlaceAndLoopsAreRefused) {
  // parts/wall.wrl inlines its neighbour by a name relative to itself.
  write("parts/wall.wrl", "Separator { " + kTriangle + "WWWInline { name \"brick.wrl\" } }");
  write("parts/brick.wrl", kTriangle);
  std::string output;
  ConversionResult result = convertFile("parts/wall.wrl", output);
  EXPECT_EQ(result.summary.faceSets, 2);
  EXPECT_EQ(output, "");
  EXPECT_EQ(convertFile("file:parts/brick.wrl", output).summary.faceSets, 1);

  // a.wrl → b.wrl → a.wrl: the second a is refused, once.
  write("a.wrl", "Separator { " + kTriangle + "WWWInline { name \"b.wrl\" } }");
  write("b.wrl", "Separator { " + kTriangle + "WWWInline { name \"a.wrl\" } }");
  result = convertFile("a.wrl", output);
  EXPECT_EQ(result.summary.faceSets, 2);
  EXPECT_EQ(output, "WWWInline: a.wrl includes itself; skipped\n");

  // Other URLs and missing files are skipped with a message.
  EXPECT_EQ(convertFile("ftp://elsewhere/x.wrl", output).summary.faceSets, 0);
  EXPECT_EQ(output, "WWWInline: ftp://elsewhere/x.wrl is not a local file; skipped\n");
  EXPECT_EQ(convertFile("missing.wrl", output).summary.faceSets, 0);
  EXPECT_NE(output.find("WWWInline: could not read "), std::string::npos);
}

} // namespace
} // namespace quillmere::test
