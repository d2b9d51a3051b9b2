// Runs numbrook-cli as a user's script would and checks its files, output
// and exit status.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

namespace {

struct CliRun {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

CliRun runCli(const QStringList& arguments, const QString& workingDir = QString()) {
    QProcess process;
    if (!workingDir.isEmpty()) process.setWorkingDirectory(workingDir);
    process.start(QStringLiteral(NUMBROOK_CLI_PATH), arguments);
    process.waitForFinished(120000);
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            process.readAllStandardOutput(), process.readAllStandardError()};
}

// Runs a shell command line with the driver's path in $CLI.
CliRun runShell(const QString& script, const QString& workingDir) {
    QProcess process;
    process.setWorkingDirectory(workingDir);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("CLI"), QStringLiteral(NUMBROOK_CLI_PATH));
    process.setProcessEnvironment(env);
    process.start(QStringLiteral("/bin/bash"), {QStringLiteral("-c"), script});
    process.waitForFinished(120000);
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            process.readAllStandardOutput(), process.readAllStandardError()};
}

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

QStringList args(const std::vector<const char*>& list) {
    QStringList out;
    for (const char* a : list) out << QString::fromUtf8(a);
    return out;
}

class CliTest : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }
    QString path(const char* name) const { return dir.filePath(QString::fromUtf8(name)); }
    QTemporaryDir dir;
};

struct GenerateCase {
    const char* name;
    std::vector<const char*> options;
    QByteArray expected;
};

class GenerateTest : public CliTest, public testing::WithParamInterface<GenerateCase> {};

TEST_P(GenerateTest, WritesTheExactBytes) {
    const QString out = path("out.txt");
    writeFile(out, "previous content");
    const CliRun run =
        runCli(QStringList{QStringLiteral("generate"), QStringLiteral("--out"), out} +
               args(GetParam().options));
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(readAll(out), GetParam().expected);
    EXPECT_EQ(run.out, QByteArray("数据生成完毕！\n"));
    EXPECT_TRUE(run.err.isEmpty()) << run.err.toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Settings, GenerateTest,
    testing::Values(
        GenerateCase{"Defaults", {}, "\r\n"},
        GenerateCase{"ThreeInTwoColumns",
                     {"--start", "49015420323751", "--count", "3", "--columns", "2"},
                     "490154203237518 490154203237526\r\n490154203237534 \r\n"},
        GenerateCase{"CountNotANumber", {"--start", "49015420323751", "--count", "abc"}, ""},
        GenerateCase{"FullWidthCount",
                     {"--start", "49015420323751", "--count", "２"},
                     "490154203237518\r\n490154203237526\r\n"},
        GenerateCase{
            "NegativeCountAsSeparateArgument", {"--start", "49015420323751", "--count", "-5"}, ""},
        GenerateCase{"CopiesAndStepDown",
                     {"--start", "00000000000100", "--count", "3", "--copies", "2", "--down"},
                     "000000000001008\r\n000000000001008\r\n000000000000992\r\n"},
        GenerateCase{"Meid",
                     {"--meid", "--start", "af0123450abcde", "--count", "2", "--step", "2"},
                     "af0123450abcdeC\r\nAF0123450ABCE08\r\n"},
        GenerateCase{"ShuffleOfTwo",
                     {"--start", "49015420323751", "--count", "2", "--shuffle"},
                     "490154203237518\r\n490154203237526\r\n"}),
    [](const testing::TestParamInfo<GenerateCase>& info) { return std::string(info.param.name); });

TEST_F(CliTest, ShuffledListKeepsItsItems) {
    const QString out = path("s.txt");
    const CliRun run = runCli(
        args({"generate", "--start", "00000000000000", "--count", "200", "--shuffle", "--out"})
        << out);
    ASSERT_EQ(run.exitCode, 0);
    QList<QByteArray> lines = readAll(out).split('\n');
    ASSERT_EQ(lines.takeLast(), QByteArray());
    ASSERT_EQ(lines.size(), 200);
    std::sort(lines.begin(), lines.end());
    for (int i = 0; i < 200; ++i) {
        EXPECT_EQ(lines[i].left(14), QByteArray::number(i).rightJustified(14, '0')) << i;
    }
}

TEST_F(CliTest, ReachingZeroWarnsAndExitsZero) {
    const QString out = path("z.txt");
    const CliRun run = runCli(
        args({"generate", "--start", "00000000000001", "--count", "5", "--down", "--out"}) << out);
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(readAll(out), QByteArray("000000000000018\r\n000000000000000\r\n"));
    EXPECT_TRUE(run.out.contains("2")) << run.out.toStdString();
    EXPECT_FALSE(run.out.contains("数据生成完毕！"));
}

struct CheckCase {
    const char* name;
    std::vector<const char*> arguments;
    int exitCode;
    QByteArray out;
};

class CheckTest : public CliTest, public testing::WithParamInterface<CheckCase> {};

TEST_P(CheckTest, PrintsTheCheckCharacterOrTheMessage) {
    const CliRun run = runCli(QStringList{QStringLiteral("check")} + args(GetParam().arguments));
    EXPECT_EQ(run.exitCode, GetParam().exitCode) << run.err.toStdString();
    EXPECT_EQ(run.out, GetParam().out);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, CheckTest,
    testing::Values(
        CheckCase{"Imei", {"49015420323751"}, 0, "8\n"},
        CheckCase{"Short", {"4901542032375"}, 0, "\n"},
        CheckCase{"Meid", {"--meid", "AF0123450ABCDE"}, 0, "C\n"},
        CheckCase{"MeidAfterText", {"AF0123450ABCDE", "--meid"}, 0, "C\n"},
        CheckCase{"RejectedLetter", {"4901542032375A"}, 1, "请输入0123456789之内的数！\n"},
        CheckCase{"RejectedInMeid", {"--meid", "AG"}, 1, "请输入0123456789ABCDEF之内的字符！\n"},
        CheckCase{"LeadingMinus", {"--", "-123"}, 1, "请输入0123456789之内的数！\n"},
        CheckCase{"FullWidthDigitRejected", {"４"}, 1, "请输入0123456789之内的数！\n"}),
    [](const testing::TestParamInfo<CheckCase>& info) { return std::string(info.param.name); });

struct UsageCase {
    const char* name;
    std::vector<const char*> arguments;
};

class UsageTest : public CliTest, public testing::WithParamInterface<UsageCase> {};

TEST_P(UsageTest, ExitsTwoWithAHint) {
    const CliRun run = runCli(args(GetParam().arguments));
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_TRUE(run.err.contains("--help")) << run.err.toStdString();
    EXPECT_TRUE(run.out.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Mistakes, UsageTest,
    testing::Values(UsageCase{"NoCommand", {}}, UsageCase{"UnknownCommand", {"make"}},
                    UsageCase{"GenerateWithoutOut", {"generate"}},
                    UsageCase{"UnknownOption", {"generate", "--out", "x", "--fast"}},
                    UsageCase{"MissingValue", {"generate", "--out"}},
                    UsageCase{"CompleteWithoutIn", {"complete", "--out", "x"}},
                    UsageCase{"CheckWithoutText", {"check"}},
                    UsageCase{"CheckWithTwoTexts", {"check", "1", "2"}},
                    UsageCase{"StrayArgument", {"generate", "--out", "x", "extra"}}),
    [](const testing::TestParamInfo<UsageCase>& info) { return std::string(info.param.name); });

TEST_F(CliTest, HelpListsTheCommands) {
    const CliRun run = runCli(args({"--help"}));
    EXPECT_EQ(run.exitCode, 0);
    for (const char* word : {"generate", "complete", "check", "--shuffle", "--meid"}) {
        EXPECT_TRUE(run.out.contains(word)) << word;
    }
}

TEST_F(CliTest, VersionIsPrinted) {
    const CliRun run = runCli(args({"--version"}));
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_TRUE(run.out.startsWith("numbrook-cli ")) << run.out.toStdString();
    EXPECT_TRUE(run.out.endsWith("\n"));
}

TEST_F(CliTest, CompletesAFileInPlace) {
    const QString file = path("bodies.txt");
    writeFile(file, "49015420323751\r\n3520 9900 1761 48\r\n\r\n123\r\n");
    const CliRun run =
        runCli(args({"complete", "--in"}) << file << QStringLiteral("--out") << file);
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out, QByteArray("处理完毕！\n"));
    EXPECT_EQ(readAll(file), QByteArray("490154203237518\r\n352099001761481\r\n\r\n123\r\n"));
}

TEST_F(CliTest, MissingInputIsAnErrorAndWritesNothing) {
    const CliRun run = runCli(args({"complete", "--in"})
                              << path("missing.txt") << QStringLiteral("--out") << path("out.txt"));
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.out.isEmpty());
    EXPECT_TRUE(run.err.contains("missing.txt")) << run.err.toStdString();
    EXPECT_FALSE(QFile::exists(path("out.txt")));
}

TEST_F(CliTest, UnwritableOutputIsAnError) {
    const CliRun run = runCli(args({"generate", "--out"}) << path("no/such/folder.txt"));
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.out.isEmpty());
    EXPECT_TRUE(run.err.contains("folder.txt")) << run.err.toStdString();
}

TEST_F(CliTest, RefusedShuffleWritesNothing) {
    const QString out = path("big.txt");
    writeFile(out, "keep");
    const CliRun run = runCli(
        args({"generate", "--count", "2147483647", "--copies", "2147483647", "--shuffle", "--out"})
        << out);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_FALSE(run.err.isEmpty());
    EXPECT_EQ(readAll(out), QByteArray("keep"));
}

// A disk that fills during the write: the earlier file stays as it was and
// no temporary file is left behind.
TEST_F(CliTest, FullDiskLeavesTheEarlierFileIntact) {
    writeFile(path("list.txt"), "earlier list\r\n");
    const CliRun run =
        runShell(QStringLiteral("trap '' XFSZ; ulimit -f 64; "
                                "exec \"$CLI\" generate --out list.txt --count 100000"),
                 dir.path());
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains("list.txt")) << run.err.toStdString();
    EXPECT_EQ(readAll(path("list.txt")), QByteArray("earlier list\r\n"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("list.txt")});
}

// Long runs stream: under an address-space limit far below what a held list
// of six million numbers (or a held 100 MB file) would take, generation and
// completion still finish.
TEST_F(CliTest, LongRunsStayInBoundedMemory) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "AddressSanitizer reserves terabytes of address space; no address-space "
                    "limit can be set under it";
#endif
    const CliRun run =
        runShell(QStringLiteral("ulimit -v 120000; "
                                "\"$CLI\" generate --out list.txt --start 35693803000000 "
                                "--count 6000000 && "
                                "\"$CLI\" complete --in list.txt --out done.txt"),
                 dir.path());
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(QFileInfo(path("list.txt")).size(), 6'000'000 * 17);
    EXPECT_EQ(QFileInfo(path("done.txt")).size(), 6'000'000 * 18);
}

TEST_F(CliTest, ProgressGoesToStandardErrorOnlyWhenAsked) {
    const QString out = path("p.txt");
    CliRun quiet = runCli(args({"generate", "--count", "200000", "--out"}) << out);
    EXPECT_TRUE(quiet.err.isEmpty());
    CliRun loud = runCli(args({"generate", "--count", "200000", "--progress", "--out"}) << out);
    EXPECT_TRUE(loud.err.contains("progress")) << loud.err.toStdString();
    EXPECT_EQ(loud.out, quiet.out);
}

}  // namespace
