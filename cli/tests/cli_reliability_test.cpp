// Faults and hostile input through numbrook-cli. A run that fails must say
// which file and why, exit with 1, and leave its folder exactly as it was:
// earlier files byte for byte, no temporary file. A run that goes through
// must not crash or hang, whatever the option texts or the file's bytes.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QMap>
#include <QProcess>
#include <QTemporaryDir>
#include <functional>
#include <string>

namespace {

struct CliRun {
    bool finished = false;  // neither killed by a signal nor hanging
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

std::ostream& operator<<(std::ostream& os, const CliRun& run) {
    return os << "exit " << run.exitCode << (run.finished ? "" : " (crashed or hung)")
              << ", stdout: " << run.out.toStdString() << ", stderr: " << run.err.toStdString();
}

// How a run is started: plainly, with a file-size limit that fails writes
// the way a full disk does (SIGXFSZ ignored, so the write returns an error),
// or with the run's folder mounted read-only in a mount namespace of its own.
enum class Jail { None, FileSizeLimit, ReadOnlyFolder };

constexpr int kFileSizeLimitKb = 1024;

// Runs numbrook-cli in `folder`; the arguments never pass through a shell.
CliRun runCli(const QStringList& arguments, const QString& folder, Jail jail = Jail::None,
              int timeoutMs = 120000) {
    QString script;
    switch (jail) {
        case Jail::None:
            script = QStringLiteral("exec \"$CLI\" \"$@\"");
            break;
        case Jail::FileSizeLimit:
            script = QStringLiteral("trap '' XFSZ; ulimit -f %1; exec \"$CLI\" \"$@\"")
                         .arg(kFileSizeLimitKb);
            break;
        case Jail::ReadOnlyFolder:
            script = QStringLiteral(
                "if [ \"$(id -u)\" = 0 ]; then "
                "exec unshare --mount --propagation private sh -c "
                "'mount --bind \"$0\" \"$0\" && mount -o remount,ro,bind \"$0\" && "
                "exec \"$CLI\" \"$@\"' \"$PWD\" \"$@\"; "
                "else exec \"$CLI\" \"$@\"; fi");
            break;
    }
    QProcess process;
    process.setWorkingDirectory(folder);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("CLI"), QStringLiteral(NUMBROOK_CLI_PATH));
    process.setProcessEnvironment(env);
    process.start(
        QStringLiteral("/bin/bash"),
        QStringList{QStringLiteral("-c"), script, QStringLiteral("numbrook-cli")} + arguments);
    CliRun run;
    if (!process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished();
        return run;
    }
    run.finished = process.exitStatus() == QProcess::NormalExit;
    run.exitCode = run.finished ? process.exitCode() : -1;
    run.out = process.readAllStandardOutput();
    run.err = process.readAllStandardError();
    return run;
}

// Whether this machine can give a run a read-only folder: as root through a
// private read-only bind mount (permission bits do not stop root), otherwise
// through the permission bits themselves.
bool readOnlyFoldersWork(const QString& folder) {
    if (::geteuid() != 0) return true;
    return QProcess::execute(
               QStringLiteral("unshare"),
               {QStringLiteral("--mount"), QStringLiteral("--propagation"),
                QStringLiteral("private"), QStringLiteral("sh"), QStringLiteral("-c"),
                QStringLiteral("mount --bind \"$0\" \"$0\" && mount -o remount,ro,bind \"$0\" && "
                               "! touch \"$0/probe\" 2>/dev/null"),
                folder}) == 0;
}

// Every file and folder below `root` with its bytes ("<folder>" for folders).
using Snapshot = QMap<QString, QByteArray>;
Snapshot snapshot(const QString& root) {
    Snapshot entries;
    QDirIterator it(root, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QFileInfo info = it.fileInfo();
        QByteArray content = QByteArrayLiteral("<folder>");
        if (!info.isDir()) {
            QFile file(path);
            content =
                file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArrayLiteral("<unreadable>");
        }
        entries.insert(QDir(root).relativeFilePath(path), content);
    }
    return entries;
}

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << path.toStdString();
    ASSERT_EQ(f.write(bytes), bytes.size());
}

// The IMEI check digit the simple way: every byte counts, non-digits as 0.
char imeiCheck(std::string_view body) {
    if (body.size() < 14) return '\0';
    unsigned long long sum = 0;
    for (std::size_t i = 0; i < body.size(); ++i) {
        const unsigned v = (body[i] >= '0' && body[i] <= '9') ? unsigned(body[i] - '0') : 0;
        const unsigned d = i % 2 ? 2 * v : v;
        sum += d > 9 ? d - 9 : d;
    }
    return char('0' + (10 - sum % 10) % 10);
}

QStringList args(std::initializer_list<const char*> list) {
    QStringList out;
    for (const char* a : list) out << QString::fromUtf8(a);
    return out;
}

class CliFolder : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }
    QString path(const QString& name) const { return dir.filePath(name); }
    QTemporaryDir dir;
};

// ---------------------------------------------------------------------------------------------
// Injected faults: each run fails with a message naming the file and changes nothing at all.

const QByteArray kEarlierList = "earlier list 490154203237518\r\n";
const QByteArray kBodies = "49015420323751\r\n3520 9900 1761 48\r\n";

struct FaultCase {
    const char* name;
    std::function<void(const QString& folder)> prepare;
    QStringList arguments;
    Jail jail;
    const char* namedFile;  // must appear in the error message
    bool needsUnprivilegedUser = false;
};

void earlierFiles(const QString& folder) {
    writeFile(folder + QStringLiteral("/list.txt"), kEarlierList);
    writeFile(folder + QStringLiteral("/bodies.txt"), kBodies);
}

// Enough input that completing it passes the file-size limit.
void largeBodies(const QString& folder) {
    earlierFiles(folder);
    QByteArray bodies;
    for (int i = 0; i < 100000; ++i) bodies += "35693803" + QByteArray::number(100000 + i) + "\r\n";
    writeFile(folder + QStringLiteral("/bodies.txt"), bodies);
}

void PrintTo(const FaultCase& c, std::ostream* os) {
    *os << c.name;
}

class FaultTest : public CliFolder, public testing::WithParamInterface<FaultCase> {};

TEST_P(FaultTest, FailsNamingTheFileAndChangesNothing) {
    const FaultCase& c = GetParam();
    if (c.needsUnprivilegedUser && ::geteuid() == 0) {
        GTEST_SKIP() << "permission bits do not stop root";
    }
    if (c.jail == Jail::ReadOnlyFolder && !readOnlyFoldersWork(dir.path())) {
        GTEST_SKIP() << "running as root without mount namespaces: no read-only folder to be had";
    }
    c.prepare(dir.path());
    if (c.jail == Jail::ReadOnlyFolder && ::geteuid() != 0) {
        ASSERT_TRUE(QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner));
    }
    const Snapshot before = snapshot(dir.path());

    const CliRun run = runCli(c.arguments, dir.path(), c.jail);

    if (c.jail == Jail::ReadOnlyFolder) {
        QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    EXPECT_TRUE(run.finished) << run;
    EXPECT_EQ(run.exitCode, 1) << run;
    EXPECT_TRUE(run.out.isEmpty()) << run;
    EXPECT_TRUE(run.err.contains(c.namedFile)) << run;
    EXPECT_EQ(snapshot(dir.path()), before) << "the folder changed: " << run;
}

QStringList generateArgs(std::initializer_list<const char*> more) {
    return args({"generate", "--start", "49015420323751", "--count", "100000"}) + args(more);
}

INSTANTIATE_TEST_SUITE_P(
    Faults, FaultTest,
    testing::Values(
        FaultCase{"GenerateIntoMissingFolder", earlierFiles,
                  generateArgs({"--out", "missing/list.txt"}), Jail::None, "missing/list.txt"},
        FaultCase{"CompleteIntoMissingFolder", earlierFiles,
                  args({"complete", "--in", "bodies.txt", "--out", "missing/done.txt"}), Jail::None,
                  "missing/done.txt"},
        FaultCase{"GenerateIntoReadOnlyFolder", earlierFiles, generateArgs({"--out", "list.txt"}),
                  Jail::ReadOnlyFolder, "list.txt"},
        FaultCase{"GenerateNewFileInReadOnlyFolder", earlierFiles,
                  generateArgs({"--out", "new.txt"}), Jail::ReadOnlyFolder, "new.txt"},
        FaultCase{"CompleteIntoReadOnlyFolder", earlierFiles,
                  args({"complete", "--in", "bodies.txt", "--out", "list.txt"}),
                  Jail::ReadOnlyFolder, "list.txt"},
        FaultCase{"CompleteInPlaceInReadOnlyFolder", earlierFiles,
                  args({"complete", "--in", "bodies.txt", "--out", "bodies.txt"}),
                  Jail::ReadOnlyFolder, "bodies.txt"},
        FaultCase{"GenerateOverReadOnlyFile",
                  [](const QString& folder) {
                      earlierFiles(folder);
                      QFile::setPermissions(folder + QStringLiteral("/list.txt"), QFile::ReadOwner);
                  },
                  generateArgs({"--out", "list.txt"}), Jail::None, "list.txt", true},
        FaultCase{"GenerateFillsTheDisk", earlierFiles, generateArgs({"--out", "list.txt"}),
                  Jail::FileSizeLimit, "list.txt"},
        FaultCase{"ShuffledGenerateFillsTheDisk", earlierFiles,
                  generateArgs({"--shuffle", "--out", "list.txt"}), Jail::FileSizeLimit,
                  "list.txt"},
        FaultCase{"ManyColumnsFillTheDisk", earlierFiles,
                  generateArgs({"--columns", "1000", "--out", "list.txt"}), Jail::FileSizeLimit,
                  "list.txt"},
        FaultCase{"CompleteFillsTheDisk", largeBodies,
                  args({"complete", "--in", "bodies.txt", "--out", "list.txt"}),
                  Jail::FileSizeLimit, "list.txt"},
        FaultCase{"CompleteInPlaceFillsTheDisk", largeBodies,
                  args({"complete", "--in", "bodies.txt", "--out", "bodies.txt"}),
                  Jail::FileSizeLimit, "bodies.txt"},
        FaultCase{"CompleteFromMissingInput", earlierFiles,
                  args({"complete", "--in", "gone.txt", "--out", "list.txt"}), Jail::None,
                  "gone.txt"},
        FaultCase{"CompleteFromAFolder",
                  [](const QString& folder) {
                      earlierFiles(folder);
                      QDir(folder).mkdir(QStringLiteral("folder.txt"));
                  },
                  args({"complete", "--in", "folder.txt", "--out", "list.txt"}), Jail::None,
                  "folder.txt"},
        // Opens, then fails on the first read: the process's own memory at address 0.
        FaultCase{"CompleteFromInputThatFailsToRead", earlierFiles,
                  args({"complete", "--in", "/proc/self/mem", "--out", "list.txt"}), Jail::None,
                  "/proc/self/mem"},
        FaultCase{"CompleteFromUnreadableInput",
                  [](const QString& folder) {
                      earlierFiles(folder);
                      QFile::setPermissions(folder + QStringLiteral("/bodies.txt"),
                                            QFile::WriteOwner);
                  },
                  args({"complete", "--in", "bodies.txt", "--out", "list.txt"}), Jail::None,
                  "bodies.txt", true},
        FaultCase{"GenerateOntoAFolder",
                  [](const QString& folder) {
                      earlierFiles(folder);
                      QDir(folder).mkdir(QStringLiteral("out.txt"));
                      writeFile(folder + QStringLiteral("/out.txt/inside.txt"), "inside");
                  },
                  generateArgs({"--out", "out.txt"}), Jail::None, "out.txt"},
        FaultCase{"CompleteOntoAFolder",
                  [](const QString& folder) {
                      earlierFiles(folder);
                      QDir(folder).mkdir(QStringLiteral("out.txt"));
                  },
                  args({"complete", "--in", "bodies.txt", "--out", "out.txt"}), Jail::None,
                  "out.txt"},
        FaultCase{"CompleteOntoItsFolder", earlierFiles,
                  args({"complete", "--in", "bodies.txt", "--out", "."}), Jail::None, "."}),
    [](const testing::TestParamInfo<FaultCase>& info) { return std::string(info.param.name); });

// ---------------------------------------------------------------------------------------------
// Counts and copies at the top of the 32-bit range.

struct HugeCase {
    const char* name;
    QStringList options;
    bool shuffle;
};

void PrintTo(const HugeCase& c, std::ostream* os) {
    *os << c.name;
}

class HugeRunTest : public CliFolder, public testing::WithParamInterface<HugeCase> {};

// With the shuffle the whole list would have to be held: refused before
// anything is written. Without it, the list streams until the disk is full.
TEST_P(HugeRunTest, IsRefusedOrStoppedByTheFullDisk) {
    const long pages = sysconf(_SC_PHYS_PAGES);
    const long pageSize = sysconf(_SC_PAGE_SIZE);
    if (double(pages) * double(pageSize) > 64e9) {
        GTEST_SKIP() << "this machine could hold the shuffled list";
    }
    writeFile(path(QStringLiteral("list.txt")), kEarlierList);
    const Snapshot before = snapshot(dir.path());
    QStringList arguments = args({"generate", "--start", "00000000000000", "--out", "list.txt"});
    arguments += GetParam().options;
    if (GetParam().shuffle) arguments << QStringLiteral("--shuffle");

    // Stopping takes a moment; going on with two billion copies after the
    // disk is full took more than half a minute.
    const CliRun run = runCli(arguments, dir.path(), Jail::FileSizeLimit, 15000);

    EXPECT_TRUE(run.finished) << run;
    EXPECT_EQ(run.exitCode, 1) << run;
    EXPECT_TRUE(run.out.isEmpty()) << run;
    if (GetParam().shuffle) {
        EXPECT_TRUE(run.err.contains("2147483647") || run.err.contains("4611686014132420609"))
            << "the refusal names the size of the list: " << run;
    } else {
        EXPECT_TRUE(run.err.contains("list.txt")) << run;
    }
    EXPECT_EQ(snapshot(dir.path()), before) << run;
}

INSTANTIATE_TEST_SUITE_P(
    Limits, HugeRunTest,
    testing::Values(HugeCase{"CountShuffled", args({"--count", "2147483647"}), true},
                    HugeCase{"CopiesShuffled", args({"--count", "1", "--copies", "2147483647"}),
                             true},
                    HugeCase{"CountAndCopiesShuffled",
                             args({"--count", "2147483647", "--copies", "2147483647"}), true},
                    HugeCase{"SaturatedCountShuffled", args({"--count", "99999999999999"}), true},
                    HugeCase{"Count", args({"--count", "2147483647"}), false},
                    HugeCase{"CountAndCopies",
                             args({"--count", "2147483647", "--copies", "2147483647"}), false},
                    HugeCase{"CountInOneRow",
                             args({"--count", "2147483647", "--columns", "2147483647"}), false},
                    HugeCase{"CountWithHugeStep",
                             args({"--count", "2147483647", "--step", "2147483647"}), false}),
    [](const testing::TestParamInfo<HugeCase>& info) { return std::string(info.param.name); });

TEST_F(CliFolder, HugeCopiesOfAFewValuesWriteOnlyTheCount) {
    const CliRun run =
        runCli(args({"generate", "--start", "49015420323751", "--count", "3", "--copies",
                     "2147483647", "--columns", "2147483647", "--out", "list.txt"}),
               dir.path(), Jail::FileSizeLimit);
    EXPECT_EQ(run.exitCode, 0) << run;
    EXPECT_EQ(readAll(path(QStringLiteral("list.txt"))),
              QByteArray("490154203237518 490154203237518 490154203237518 \r\n"));
}

// ---------------------------------------------------------------------------------------------
// Hostile texts in every box-like option.

struct HostileText {
    const char* name;
    QString text;
};

const HostileText kHostileTexts[] = {
    {"FullWidthDigits", QStringLiteral("１２")},
    {"FullWidthMinus", QStringLiteral("－５")},
    {"Chinese", QStringLiteral("四九〇一五四二〇三二三七五一")},
    {"ControlCharacters", QStringLiteral("\x01\x02\t\x1b[31m\x7f\r\n")},
    {"TenThousandDigits", QString(10000, u'7')},
    {"TenThousandChinese", QString(10000, u'号')},
    {"Minus", QStringLiteral("-")},
    {"AboveInt32", QStringLiteral("2147483648")},
    {"BelowInt32", QStringLiteral("-2147483649")},
};

struct OptionCase {
    const char* name;
    const char* option;
};

void PrintTo(const HostileText& h, std::ostream* os) {
    *os << h.name;
}
void PrintTo(const OptionCase& o, std::ostream* os) {
    *os << o.option;
}

class HostileOptionTest : public CliFolder,
                          public testing::WithParamInterface<std::tuple<OptionCase, HostileText>> {
};

// Whatever the text, the run either writes a whole file or fails cleanly
// (then only a full disk can be the cause), and never crashes or hangs.
TEST_P(HostileOptionTest, WritesAWholeFileOrFailsCleanly) {
    const auto& [option, hostile] = GetParam();
    writeFile(path(QStringLiteral("list.txt")), kEarlierList);
    const Snapshot before = snapshot(dir.path());
    QStringList arguments = args({"generate", "--start", "49015420323751", "--count", "3"});
    arguments << QString::fromUtf8(option.option) << hostile.text << QStringLiteral("--out")
              << QStringLiteral("list.txt");

    const CliRun run = runCli(arguments, dir.path(), Jail::FileSizeLimit);

    ASSERT_TRUE(run.finished) << run;
    if (run.exitCode == 1) {
        EXPECT_TRUE(run.err.contains("list.txt")) << run;
        EXPECT_EQ(snapshot(dir.path()), before) << run;
        return;
    }
    ASSERT_EQ(run.exitCode, 0) << run;
    const QByteArray written = readAll(path(QStringLiteral("list.txt")));
    EXPECT_TRUE(written.isEmpty() || written.endsWith("\r\n")) << run;
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
              QStringList{QStringLiteral("list.txt")});
}

INSTANTIATE_TEST_SUITE_P(
    Options, HostileOptionTest,
    testing::Combine(testing::Values(OptionCase{"Start", "--start"}, OptionCase{"Count", "--count"},
                                     OptionCase{"Step", "--step"}, OptionCase{"Copies", "--copies"},
                                     OptionCase{"Columns", "--columns"}),
                     testing::ValuesIn(kHostileTexts)),
    [](const auto& info) {
        return std::string(std::get<0>(info.param).name) + "_" + std::get<1>(info.param).name;
    });

// The count box with each hostile text: what the window would read.
struct CountCase {
    const char* hostile;
    int exitCode;
    QByteArray file;  // for exit code 0
};

TEST_F(CliFolder, HostileCountsReadAsTheWindowReadsThem) {
    const QByteArray item1 = "490154203237518\r\n";
    const QByteArray twelve = [] {
        QByteArray bytes;
        std::string body = "49015420323751";
        for (int i = 0; i < 12; ++i) {
            bytes += QByteArray::fromStdString(body) + imeiCheck(body) + "\r\n";
            body = std::to_string(std::stoll(body) + 1);
        }
        return bytes;
    }();
    const CountCase cases[] = {
        {"FullWidthDigits", 0, twelve},
        {"FullWidthMinus", 0, ""},
        {"Chinese", 0, ""},
        {"ControlCharacters", 0, ""},
        {"TenThousandDigits", 1, ""},
        {"TenThousandChinese", 0, ""},
        {"Minus", 0, ""},
        {"AboveInt32", 1, ""},
        {"BelowInt32", 0, ""},
    };
    ASSERT_FALSE(item1.isEmpty());
    for (const CountCase& c : cases) {
        SCOPED_TRACE(c.hostile);
        const auto hostile =
            std::find_if(std::begin(kHostileTexts), std::end(kHostileTexts),
                         [&](const HostileText& h) { return std::string(h.name) == c.hostile; });
        ASSERT_NE(hostile, std::end(kHostileTexts));
        writeFile(path(QStringLiteral("list.txt")), kEarlierList);
        const CliRun run =
            runCli(args({"generate", "--start", "49015420323751", "--out", "list.txt", "--count"})
                       << hostile->text,
                   dir.path(), Jail::FileSizeLimit);
        EXPECT_EQ(run.exitCode, c.exitCode) << run;
        EXPECT_EQ(readAll(path(QStringLiteral("list.txt"))),
                  c.exitCode == 0 ? c.file : kEarlierList);
    }
}

struct CheckCase {
    const char* hostile;
    int exitCode;
    QByteArray out;
};

TEST_F(CliFolder, HostileCheckTextsAreRejectedOrChecked) {
    const QByteArray rejected = "请输入0123456789之内的数！\n";
    const CheckCase cases[] = {
        {"FullWidthDigits", 1, rejected},
        {"FullWidthMinus", 1, rejected},
        {"Chinese", 1, rejected},
        {"ControlCharacters", 1, rejected},
        {"TenThousandDigits", 0, QByteArray(1, imeiCheck(std::string(10000, '7'))) + "\n"},
        {"TenThousandChinese", 1, rejected},
        {"Minus", 1, rejected},
        {"AboveInt32", 0, "\n"},
        {"BelowInt32", 1, rejected},
    };
    for (const CheckCase& c : cases) {
        SCOPED_TRACE(c.hostile);
        const auto hostile =
            std::find_if(std::begin(kHostileTexts), std::end(kHostileTexts),
                         [&](const HostileText& h) { return std::string(h.name) == c.hostile; });
        ASSERT_NE(hostile, std::end(kHostileTexts));
        const CliRun run = runCli(
            QStringList{QStringLiteral("check"), QStringLiteral("--"), hostile->text}, dir.path());
        EXPECT_EQ(run.exitCode, c.exitCode) << run;
        EXPECT_EQ(run.out, c.out) << run;
    }
}

// ---------------------------------------------------------------------------------------------
// Hostile files to complete: every byte comes back, only spaces and a lone
// lead byte at a line's end go, and every line with 14 bytes or more gets
// its check character.

struct FileCase {
    const char* name;
    QByteArray input;
    QByteArray expected;
    bool meid = false;
};

void PrintTo(const FileCase& c, std::ostream* os) {
    *os << c.name;
}

class HostileFileTest : public CliFolder, public testing::WithParamInterface<FileCase> {};

TEST_P(HostileFileTest, CompletesEveryLineWithoutLosingAByte) {
    const FileCase& c = GetParam();
    writeFile(path(QStringLiteral("in.txt")), c.input);
    QStringList arguments = args({"complete", "--in", "in.txt", "--out", "in.txt"});
    if (c.meid) arguments << QStringLiteral("--meid");

    const CliRun run = runCli(arguments, dir.path());

    ASSERT_EQ(run.exitCode, 0) << run;
    const QByteArray written = readAll(path(QStringLiteral("in.txt")));
    EXPECT_EQ(written.size(), c.expected.size());
    EXPECT_TRUE(written == c.expected)
        << "first difference at "
        << std::mismatch(written.begin(), written.end(), c.expected.begin(), c.expected.end())
                   .first -
               written.begin();
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
              QStringList{QStringLiteral("in.txt")});
}

QByteArray completedLine(const QByteArray& body) {
    const char check = imeiCheck(std::string_view(body.constData(), body.size()));
    return check ? body + check + "\r\n" : body + "\r\n";
}

// Lines of a megabyte and more, across the 1 MiB blocks the input is read in.
QByteArray digits(qsizetype count, int seed) {
    QByteArray bytes(count, '0');
    for (qsizetype i = 0; i < count; ++i) bytes[i] = char('0' + (i * 7 + seed + i / 13) % 10);
    return bytes;
}

const QByteArray kMegabyte = digits(1 << 20, 1);
const QByteArray kMegabyteAndMore = digits((1 << 20) + 17, 2);
const QByteArray kThreeMegabytes = digits(3 << 20, 3);

QByteArray spaced(const QByteArray& body, const QByteArray& space) {
    QByteArray out;
    for (qsizetype i = 0; i < body.size(); i += 7) out += body.mid(i, 7) + space;
    return out;
}

INSTANTIATE_TEST_SUITE_P(
    Files, HostileFileTest,
    testing::Values(
        FileCase{"NulBytes", QByteArray("4901542032\0003751\r\n\0\r\n\0\0", 22),
                 QByteArray("4901542032\0003751", 15) +
                     imeiCheck(std::string_view("4901542032\0003751", 15)) +
                     QByteArray("\r\n\0\r\n\0\0\r\n", 9)},
        FileCase{"LoneCrAndLf", "4901542032\r3751\n\r\n\r\r\n\n",
                 "4901542032\r3751\n" + QByteArray(1, imeiCheck("4901542032\r3751\n")) +
                     "\r\n\r\r\n\n\r\n"},
        FileCase{"LoneLeadBytes", "\xA3\r\n12\xB0\r\n\xB0\xA1\xA3", "\r\n12\r\n\xB0\xA1\r\n"},
        FileCase{"LeadByteSwallowsTheSpace", "1\xB0 2\r\n", "1\xB0 2\r\n"},
        FileCase{"MegabyteLines",
                 kMegabyte + "\r\n" + kMegabyteAndMore + "\r\n" + spaced(kMegabyte, " ") + "\r\n" +
                     spaced(kMegabyteAndMore, "\xA1\xA1"),
                 completedLine(kMegabyte) + completedLine(kMegabyteAndMore) +
                     completedLine(kMegabyte) + completedLine(kMegabyteAndMore)},
        FileCase{"ThreeMegabytesWithoutLineEnd", kThreeMegabytes, completedLine(kThreeMegabytes)},
        FileCase{"MegabyteLineInMeidMode", kMegabyte + "\r\nAF0123450ABCDE",
                 kMegabyte + "\r\nAF0123450ABCDEC\r\n", true},
        // One line of 1.5 MiB without a digit: its check digit is 0.
        FileCase{"MegabyteOfLoneLineEnds", QByteArray(1 << 20, '\n') + QByteArray(1 << 19, '\r'),
                 completedLine(QByteArray(1 << 20, '\n') + QByteArray(1 << 19, '\r'))}),
    [](const testing::TestParamInfo<FileCase>& info) { return std::string(info.param.name); });

// Every space of a long line used to send the completer looking for the line's end again: a
// line of 8 MB with a space every 8 bytes took minutes. It takes well under a second now.
TEST_F(CliFolder, LongLineWithManySpacesCompletesPromptly) {
    const QByteArray body = digits(8 << 20, 4);
    writeFile(path(QStringLiteral("in.txt")), spaced(body, " ") + "\r\n");
    const CliRun run = runCli(args({"complete", "--in", "in.txt", "--out", "out.txt"}), dir.path(),
                              Jail::None, 20000);
    ASSERT_TRUE(run.finished) << "still running after 20 s";
    EXPECT_EQ(run.exitCode, 0) << run;
    EXPECT_TRUE(readAll(path(QStringLiteral("out.txt"))) == completedLine(body));
}

}  // namespace
