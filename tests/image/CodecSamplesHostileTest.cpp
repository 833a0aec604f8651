// One small valid file of every reader (and of the variants that take their own paths: tiles,
// planes, alpha, progressive and arithmetic JPEG, restart stripes, placeholder JBIG heights…),
// cut short and corrupted at random. Each version either fails with a text or decodes within
// the picture limit, quickly; none crashes (the sanitizer build runs these).
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "app/image/CxImage.h"
#include "app/image/PictureType.h"
#include "tests/image/ImageTestUtil.h"
#include "tests/support/TempDir.h"

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<uint8_t>;
using Clock = std::chrono::steady_clock;

const fs::path kSamples = fs::path(IMAGE_TEST_DATA) / "samples";

std::vector<std::string> SampleNames() {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(kSamples))
    if (entry.is_regular_file()) names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

// The code a caller would pass: from the name, as the pictures tab does, and for the formats
// reached only by recognition, their own codes.
uint32_t FormatOf(const std::string& name) {
  if (name.ends_with(".jbg")) return CXIMAGE_FORMAT_JBG;
  if (name.ends_with(".dng")) return CXIMAGE_FORMAT_RAW;
  return PictureTypeFromName(name);
}

class SampleFile : public ::testing::TestWithParam<std::string> {
 protected:
  void SetUp() override {
    m_file = imagetest::Bytes(testsupport::ReadFile(kSamples / GetParam()));
    ASSERT_FALSE(m_file.empty());
    m_format = FormatOf(GetParam());
    // A TIFF container that fails is offered to the raw reader too, which runs in a process of
    // its own; that costs enough (under the sanitizers above all) to try fewer versions.
    const bool tiffContainer =
        m_file.size() >= 4 && (m_file[0] == 'I' || m_file[0] == 'M') && m_file[1] == m_file[0];
    m_versions = tiffContainer ? 60 : 400;
  }

  // Decodes and checks the outcome; returns whether it decoded.
  bool Check(const Bytes& bytes, uint32_t format, const std::string& what) {
    CxImage img;
    const auto start = Clock::now();
    const bool ok = img.Decode(bytes.data(), bytes.size(), format);
    m_slowest = std::max(m_slowest, Clock::now() - start);
    if (ok) {
      EXPECT_TRUE(img.IsValid()) << what;
      EXPECT_LE(uint64_t(img.GetEffWidth()) * img.GetHeight(), uint64_t(kCxImageMaxMemory)) << what;
    } else {
      EXPECT_FALSE(img.IsValid()) << what;
      EXPECT_STRNE(img.GetLastError(), "") << what;
    }
    return ok;
  }

  Bytes m_file;
  uint32_t m_format = 0;
  size_t m_versions = 0;  // damaged versions each test tries
  Clock::duration m_slowest{};
};

TEST_P(SampleFile, DecodesIntactByNameAndByContent) {
  CxImage img;
  ASSERT_TRUE(img.Decode(m_file.data(), m_file.size(), m_format)) << img.GetLastError();
  EXPECT_GT(img.GetWidth(), 0u);
  CxImage found;
  EXPECT_TRUE(found.Decode(m_file.data(), m_file.size(), CXIMAGE_FORMAT_UNKNOWN))
      << found.GetLastError();
}

TEST_P(SampleFile, CutFilesFailCleanlyOrDecode) {
  // The headers are cut at every length, the rest at evenly spaced ones.
  const size_t header = std::min<size_t>(m_file.size(), m_versions / 2);
  const size_t step = std::max<size_t>(1, (m_file.size() - header) / (m_versions - header));
  for (size_t n = 0; n < m_file.size(); n += n < header ? 1 : step)
    Check(Bytes(m_file.begin(), m_file.begin() + ptrdiff_t(n)), m_format, std::to_string(n));
  EXPECT_LT(m_slowest, std::chrono::seconds(3));
}

TEST_P(SampleFile, CorruptedFilesFailCleanlyOrDecode) {
  std::mt19937 rng(uint32_t(std::hash<std::string>()(GetParam())));
  for (int round = 0; round < int(m_versions); ++round) {
    Bytes bad = m_file;
    const int flips = 1 + int(rng() % 6);
    for (int i = 0; i < flips; ++i) {
      const size_t at = rng() % bad.size();
      // Mostly single bits and extreme values, which is where sizes and counts break.
      switch (rng() % 3) {
        case 0:
          bad[at] ^= uint8_t(1u << (rng() % 8));
          break;
        case 1:
          bad[at] = (rng() & 1) ? 0xFF : 0x00;
          break;
        default:
          bad[at] = uint8_t(rng());
      }
    }
    // Every other round through recognition, as a file with a wrong name would go.
    Check(bad, round % 2 ? m_format : CXIMAGE_FORMAT_UNKNOWN, "round " + std::to_string(round));
  }
  EXPECT_LT(m_slowest, std::chrono::seconds(3));
}

INSTANTIATE_TEST_SUITE_P(Codecs, SampleFile, ::testing::ValuesIn(SampleNames()),
                         [](const auto& info) {
                           std::string name = info.param;
                           for (char& c : name)
                             if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
                           return name;
                         });

}  // namespace
