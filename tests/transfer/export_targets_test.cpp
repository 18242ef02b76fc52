// Where an export goes, in every format: a file already there is replaced
// whole with its mode kept, or left byte for byte when the export fails; a
// FIFO or device gets the export where it is.

#include <gtest/gtest.h>

#include <filesystem>

#include <sys/stat.h>
#include <unistd.h>

#include "../support/fifo_reader.h"
#include "../support/file_size_limit.h"
#include "transfer/export_display.h"
#include "transfer_test_support.h"

namespace transfer {
namespace {

using display::DisplayType;
using namespace transfer_test;

constexpr ExportFormat kFormats[] = {ExportFormat::TabText, ExportFormat::CsvText,
                                     ExportFormat::Database};

class ExportTargetsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m_host.current = DisplayType::Groups;
    showGroups(m_host, kGroups);
  }
  std::string path(const char* name) const { return m_dir.filePath(name).toStdString(); }
  ExportResult exportTo(const std::string& file, ExportFormat format) {
    return exportDisplay(exportSourceOf(m_host), file, format);
  }
  static mode_t modeOf(const std::string& file) {
    struct stat st {};
    EXPECT_EQ(::lstat(file.c_str(), &st), 0) << file;
    return st.st_mode;
  }

  display_test::RecordingHost m_host;
  QTemporaryDir m_dir;
};

TEST_F(ExportTargetsTest, AnExistingFileIsReplacedWithItsModeOrKeptByteForByteWhenTheExportFails) {
  for (const ExportFormat format : kFormats) {
    const std::string file = path("keep.out");
    const std::string before = "the old export\r\n";
    writeFile(file, before);
    ::chmod(file.c_str(), 0600);
    ExportResult result;
    {
      test_support::FileSizeLimit full(100);  // the header and a row are more
      result = exportTo(file, format);
    }
    EXPECT_FALSE(result.ok()) << static_cast<int>(format);
    EXPECT_EQ(readFile(file), before) << static_cast<int>(format);
    EXPECT_EQ(filesIn(m_dir), QStringList{"keep.out"}) << static_cast<int>(format);

    ASSERT_TRUE(exportTo(file, format).ok()) << static_cast<int>(format);
    EXPECT_NE(readFile(file), before);
    EXPECT_EQ(modeOf(file) & 07777, 0600u) << "a file kept private stays private";
    EXPECT_EQ(filesIn(m_dir), QStringList{"keep.out"});
  }
}

// `veltrane users SERVER /dev/stdout | ...` or a FIFO: the reader gets the
// whole export, and the FIFO is still one afterwards.
TEST_F(ExportTargetsTest, AFifoIsWrittenInPlaceForItsReader) {
  const std::string fifo = path("pipe");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  for (const ExportFormat format : {ExportFormat::TabText, ExportFormat::Database}) {
    test_support::FifoReader reader(fifo);
    const ExportResult result = exportTo(fifo, format);
    const std::string received = reader.finish();
    EXPECT_TRUE(result.ok()) << result.detail;
    if (format == ExportFormat::Database) {
      EXPECT_TRUE(received.starts_with(std::string("SQLite format 3\0", 16)));
    } else {
      EXPECT_TRUE(received.starts_with("GroupName\tComment\tUserName\r\n")) << received;
      EXPECT_NE(received.find("\r\nDomain Users\tAll users, everyone\tbob\r\n"), std::string::npos);
    }
    EXPECT_TRUE(S_ISFIFO(modeOf(fifo)));
    EXPECT_EQ(filesIn(m_dir), QStringList{"pipe"});
  }
}

TEST_F(ExportTargetsTest, ADeviceThatRefusesTheBytesIsAWriteFailureWithTheSystemsReason) {
  if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full here";
  for (const ExportFormat format : kFormats) {
    const ExportResult result = exportTo("/dev/full", format);
    EXPECT_EQ(result.error, ExportError::WriteFailed) << static_cast<int>(format);
    EXPECT_EQ(result.detail, std::strerror(ENOSPC));
    EXPECT_TRUE(S_ISCHR(modeOf("/dev/full")));
  }
}

}  // namespace
}  // namespace transfer
