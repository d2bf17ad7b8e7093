// Runs each file of a fuzz target's corpus through the target once; a failed check aborts.
#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <cctype>
#include <cstdint>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);
// Targets that set something up once define this; libFuzzer calls it before the first input.
extern "C" __attribute__((weak)) int LLVMFuzzerInitialize(int* argc, char*** argv);

namespace {

std::vector<std::string> corpusFiles() {
  std::vector<std::string> names;
  const QStringList entries = QDir(QStringLiteral(QUILLET_CORPUS_DIR)).entryList(QDir::Files, QDir::Name);
  for (const QString& name : entries) {
    if (!name.startsWith(QLatin1Char('.'))) names.push_back(name.toStdString());
  }
  return names;
}

// The suite is named after the target (QUILLET_CORPUS_SUITE), so that the cases of different
// targets stay apart in CTest; the wrappers expand the name before gtest pastes it.
#define CORPUS_TEST_P(suite, name) TEST_P(suite, name)
#define CORPUS_TEST(suite, name) TEST(suite, name)
#define CORPUS_INSTANTIATE(suite, ...) INSTANTIATE_TEST_SUITE_P(Files, suite, __VA_ARGS__)

class QUILLET_CORPUS_SUITE : public testing::TestWithParam<std::string> {};

CORPUS_TEST_P(QUILLET_CORPUS_SUITE, ReplaysWithoutAFault) {
  QFile file(QDir(QStringLiteral(QUILLET_CORPUS_DIR)).filePath(QString::fromStdString(GetParam())));
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QByteArray bytes = file.readAll();
  static const bool initialised = [] {
    static char name[] = "corpus_replay";
    static char* arguments[] = {name, nullptr};
    int count = 1;
    char** vector = arguments;
    return LLVMFuzzerInitialize == nullptr || LLVMFuzzerInitialize(&count, &vector) == 0;
  }();
  ASSERT_TRUE(initialised);
  EXPECT_EQ(LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(bytes.constData()),
                                   static_cast<size_t>(bytes.size())),
            0);
}

CORPUS_INSTANTIATE(QUILLET_CORPUS_SUITE, testing::ValuesIn(corpusFiles()),
                   [](const testing::TestParamInfo<std::string>& info) {
                     std::string name;
                     for (char c : info.param) name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
                     return name;
                   });

CORPUS_TEST(QUILLET_CORPUS_SUITE, IsNotEmpty) { EXPECT_FALSE(corpusFiles().empty()); }

}  // namespace
