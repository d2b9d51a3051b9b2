#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "fake_form.h"
#include "handlers.h"
#include "test_support.h"

#if defined(Q_OS_UNIX)
#include <unistd.h>
#endif
#if defined(Q_OS_LINUX)
#include <sched.h>
#include <sys/mount.h>
#include <sys/resource.h>

#include <csignal>
#endif

using namespace Qt::StringLiterals;

namespace tallisk {
namespace {

using testing_support::FakeForm;
using testing_support::ScriptedUser;

QByteArray readFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    return file.readAll();
}

QByteArray fixture(const char* name) {
    return readFile(QStringLiteral(TALLISK_TEST_DATA "/") + QString::fromUtf8(name));
}

// Every test runs in a fresh current directory, where the batch writes imei.csv.
class BatchTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(directory_.isValid());
        previous_ = QDir::currentPath();
        ASSERT_TRUE(QDir::setCurrent(directory_.path()));
        form.attach(handlers);
    }
    void TearDown() override { QDir::setCurrent(previous_); }

    void fill(const QString& tacFac, const QString& start, const QString& end,
              const QString& columns) {
        form.setBoxText(Box::Text3, tacFac);
        form.setBoxText(Box::Text4, start);
        form.setBoxText(Box::Text5, end);
        form.setBoxText(Box::Text8, columns);
        form.focusMoves.clear();
    }
    QString csvPath() const { return QDir(directory_.path()).filePath(u"imei.csv"_s); }
    bool csvExists() const { return QFileInfo::exists(csvPath()); }
    QByteArray csv() const { return readFile(csvPath()); }
    void writeEarlierCsv(const QByteArray& bytes) {
        QFile file(csvPath());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_EQ(file.write(bytes), bytes.size());
    }
    QStringList directoryEntries() const {
        return QDir(directory_.path())
            .entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
    }

    FakeForm form;
    ScriptedUser user;
    Handlers handlers{form, user};

private:
    QTemporaryDir directory_;
    QString previous_;
};

// ---------------------------------------------------------------------------------------------
struct BatchCase {
    const char* name;
    QString tacFac, start, end, columns;
    const char* expectedCsv;  // fixture in tests/data; nullptr: no imei.csv at all
    QStringList messages;
    QString startAfter, endAfter, columnsAfter;
};

class BatchCases : public BatchTest, public testing::WithParamInterface<BatchCase> {};

TEST_P(BatchCases, WritesExactlyTheExpectedFile) {
    const BatchCase& c = GetParam();
    fill(c.tacFac, c.start, c.end, c.columns);

    handlers.command3Clicked();

    if (c.expectedCsv) {
        const QByteArray expected = fixture(c.expectedCsv);
        ASSERT_FALSE(expected.isEmpty()) << c.expectedCsv;
        EXPECT_EQ(csv(), expected);
    } else {
        EXPECT_FALSE(csvExists());
    }
    EXPECT_EQ(user.messages, c.messages);
    EXPECT_EQ(form.boxText(Box::Text4), c.startAfter);
    EXPECT_EQ(form.boxText(Box::Text5), c.endAfter);
    EXPECT_EQ(form.boxText(Box::Text8), c.columnsAfter);
    EXPECT_EQ(directoryEntries().size(), c.expectedCsv ? 1 : 0)
        << "no temporary file may stay behind";
}

const QString kTacFac = u"35693803"_s;
const QString kDone3 = u"校验位生成完毕 ！数量: 3"_s;

INSTANTIATE_TEST_SUITE_P(Table, BatchCases,
                         testing::Values(BatchCase{"OneColumnOneToThree",
                                                   kTacFac,
                                                   u"1"_s,
                                                   u"3"_s,
                                                   u"1"_s,
                                                   "one_column_1_to_3.csv",
                                                   {kDone3},
                                                   u"000001"_s,
                                                   u"000003"_s,
                                                   u"1"_s},
                                         BatchCase{"TwoColumnsOneToThree",
                                                   kTacFac,
                                                   u"1"_s,
                                                   u"3"_s,
                                                   u"2"_s,
                                                   "two_columns_1_to_3.csv",
                                                   {kDone3},
                                                   u"000001"_s,
                                                   u"000003"_s,
                                                   u"2"_s},
                                         BatchCase{"TwoColumnsOneToFourEndWithEmptyLine",
                                                   kTacFac,
                                                   u"000001"_s,
                                                   u"000004"_s,
                                                   u"2"_s,
                                                   "two_columns_1_to_4.csv",
                                                   {u"校验位生成完毕 ！数量: 4"_s},
                                                   u"000001"_s,
                                                   u"000004"_s,
                                                   u"2"_s},
                                         BatchCase{"SerialsAcross99999",
                                                   kTacFac,
                                                   u"099999"_s,
                                                   u"100001"_s,
                                                   u"1"_s,
                                                   "one_column_across_99999.csv",
                                                   {kDone3},
                                                   u"099999"_s,
                                                   u"100001"_s,
                                                   u"1"_s},
                                         BatchCase{"MoreColumnsThanEntriesMakeOneRow",
                                                   kTacFac,
                                                   u"1"_s,
                                                   u"3"_s,
                                                   u"999"_s,
                                                   "one_row_1_to_3.csv",
                                                   {kDone3},
                                                   u"000001"_s,
                                                   u"000003"_s,
                                                   u"999"_s},
                                         BatchCase{"ZeroColumnsBecomeOne",
                                                   kTacFac,
                                                   u"1"_s,
                                                   u"3"_s,
                                                   u"0"_s,
                                                   "one_column_1_to_3.csv",
                                                   {kDone3},
                                                   u"000001"_s,
                                                   u"000003"_s,
                                                   u" 1"_s},
                                         BatchCase{"NegativeColumnsBecomeOne",
                                                   kTacFac,
                                                   u"1"_s,
                                                   u"3"_s,
                                                   u"-5"_s,
                                                   "one_column_1_to_3.csv",
                                                   {kDone3},
                                                   u"000001"_s,
                                                   u"000003"_s,
                                                   u" 1"_s},
                                         BatchCase{"NonNumericColumnsBecomeOne",
                                                   kTacFac,
                                                   u"1"_s,
                                                   u"3"_s,
                                                   u"ab"_s,
                                                   "one_column_1_to_3.csv",
                                                   {kDone3},
                                                   u"000001"_s,
                                                   u"000003"_s,
                                                   u" 1"_s},
                                         BatchCase{"ColumnsBelowTwoMeanOneColumn",
                                                   kTacFac,
                                                   u"1"_s,
                                                   u"3"_s,
                                                   u"1.9"_s,
                                                   "one_column_1_to_3.csv",
                                                   {kDone3},
                                                   u"000001"_s,
                                                   u"000003"_s,
                                                   u"1.9"_s},
                                         BatchCase{"ColumnsRoundToNearest",
                                                   kTacFac,
                                                   u"1"_s,
                                                   u"3"_s,
                                                   u"2.4"_s,
                                                   "two_columns_1_to_3.csv",
                                                   {kDone3},
                                                   u"000001"_s,
                                                   u"000003"_s,
                                                   u"2.4"_s},
                                         BatchCase{"FractionalEndStillClosesLastRow",
                                                   kTacFac,
                                                   u"1"_s,
                                                   u"3.5"_s,
                                                   u"2"_s,
                                                   "two_columns_1_to_3.csv",
                                                   {kDone3},
                                                   u"000001"_s,
                                                   u"0003.5"_s,
                                                   u"2"_s},
                                         BatchCase{"EndBelowStart",
                                                   kTacFac,
                                                   u"5"_s,
                                                   u"3"_s,
                                                   u"1"_s,
                                                   nullptr,
                                                   {u"终止号小于起始号！"_s},
                                                   u"000005"_s,
                                                   u"000003"_s,
                                                   u"1"_s},
                                         BatchCase{"EmptyBoxes",
                                                   u""_s,
                                                   u""_s,
                                                   u""_s,
                                                   u"1"_s,
                                                   nullptr,
                                                   {u"TAC+FAC请输入8位整数"_s},
                                                   u""_s,
                                                   u""_s,
                                                   u"1"_s},
                                         BatchCase{"ShortTacFacWarnsAndStops",
                                                   u"12345"_s,
                                                   u"1"_s,
                                                   u"3"_s,
                                                   u"1"_s,
                                                   nullptr,
                                                   {u"TAC+FAC请输入8位整数"_s},
                                                   u"000001"_s,
                                                   u"000003"_s,
                                                   u"1"_s},
                                         BatchCase{"TacFacStartingWithZeroStopsSilently",
                                                   u"03569380"_s,
                                                   u"1"_s,
                                                   u"3"_s,
                                                   u"1"_s,
                                                   nullptr,
                                                   {},
                                                   u"000001"_s,
                                                   u"000003"_s,
                                                   u"1"_s},
                                         BatchCase{"SevenDigitTacFacStopsSilently",
                                                   u"3569380"_s,
                                                   u"1"_s,
                                                   u"3"_s,
                                                   u"1"_s,
                                                   nullptr,
                                                   {},
                                                   u"000001"_s,
                                                   u"000003"_s,
                                                   u"1"_s}),
                         [](const testing::TestParamInfo<BatchCase>& info) {
                             return std::string(info.param.name);
                         });

// ---------------------------------------------------------------------------------------------
TEST_F(BatchTest, ZeroFillingMovesTheFocusOnToTheButton) {
    fill(kTacFac, u"1"_s, u"3"_s, u"1"_s);
    handlers.command3Clicked();
    EXPECT_EQ(form.focusMoves, (std::vector{FocusTarget::Text5, FocusTarget::Command3}));
}

TEST_F(BatchTest, Over60000EntriesAddAColumn) {
    fill(kTacFac, u"000001"_s, u"060001"_s, u"1"_s);
    handlers.command3Clicked();

    EXPECT_EQ(form.boxText(Box::Text8), u" 2"_s);
    EXPECT_EQ(user.messages, QStringList{u"校验位生成完毕 ！数量: 60001"_s});

    const QByteArray bytes = csv();
    ASSERT_EQ(bytes.size(), 30000 * 34 + 18);
    const QList<QByteArray> lines = bytes.split('\n');
    ASSERT_EQ(lines.size(), 30002);  // the text ends with a line feed
    EXPECT_EQ(lines.first(), "356938030000013,356938030000021,\r");
    EXPECT_EQ(lines.at(30000), "356938030600010,\r");
    EXPECT_TRUE(lines.last().isEmpty());

    // Entries run on serial by serial, row by row.
    int expectedSerial = 1;
    for (qsizetype i = 0; i < 30001; ++i) {
        for (const QByteArray& entry : lines.at(i).chopped(1).split(',')) {
            if (entry.isEmpty()) continue;
            ASSERT_EQ(entry.size(), 15);
            ASSERT_EQ(entry.mid(8, 6).toInt(), expectedSerial) << "line " << i + 1;
            ++expectedSerial;
        }
    }
    EXPECT_EQ(expectedSerial, 60002);
}

TEST_F(BatchTest, RerunReplacesTheWholeFile) {
    writeEarlierCsv(QByteArray(5000, 'x'));
    fill(kTacFac, u"1"_s, u"3"_s, u"1"_s);
    handlers.command3Clicked();
    EXPECT_EQ(csv(), fixture("one_column_1_to_3.csv"));
}

TEST_F(BatchTest, EndBelowStartLeavesTheEarlierFileUntouched) {
    const QByteArray earlier = "earlier run\r\n";
    writeEarlierCsv(earlier);
    fill(kTacFac, u"5"_s, u"3"_s, u"1"_s);

    handlers.command3Clicked();

    EXPECT_EQ(csv(), earlier);
    EXPECT_EQ(user.messages, QStringList{u"终止号小于起始号！"_s});
}

TEST_F(BatchTest, UnopenableFileIsReportedWithItsReason) {
    ASSERT_TRUE(QDir().mkdir(u"imei.csv"_s));
    fill(kTacFac, u"1"_s, u"3"_s, u"1"_s);

    handlers.command3Clicked();

    ASSERT_EQ(user.messages.size(), 1);
    const QString expectedStart = u"无法写入文件“%1”："_s.arg(QDir::toNativeSeparators(csvPath()));
    EXPECT_TRUE(user.messages.first().startsWith(expectedStart))
        << user.messages.first().toStdString();
    EXPECT_GT(user.messages.first().size(), expectedStart.size() + 10) << "the reason is missing";
    EXPECT_TRUE(QFileInfo(csvPath()).isDir());
}

#if defined(Q_OS_LINUX)
// Lowers the largest file size this process may write, which fails writes the same way a full
// disk does, also for root.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &saved_);
        previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limited = saved_;
        limited.rlim_cur = bytes;
        active_ = setrlimit(RLIMIT_FSIZE, &limited) == 0;
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, previousHandler_);
    }
    bool active() const { return active_; }

private:
    rlimit saved_{};
    void (*previousHandler_)(int) = nullptr;
    bool active_ = false;
};

TEST_F(BatchTest, FailedWriteKeepsTheEarlierFileAndSaysWhy) {
    const QByteArray earlier = fixture("two_columns_1_to_4.csv");
    writeEarlierCsv(earlier);
    fill(kTacFac, u"000001"_s, u"060001"_s, u"1"_s);
    {
        FileSizeLimit limit(64 * 1024);
        ASSERT_TRUE(limit.active());
        handlers.command3Clicked();
    }

    EXPECT_EQ(csv(), earlier);
    ASSERT_EQ(user.messages.size(), 1) << "no completion message after a failed write";
    const QString message = user.messages.first();
    EXPECT_TRUE(
        message.startsWith(u"无法写入文件“%1”："_s.arg(QDir::toNativeSeparators(csvPath()))))
        << message.toStdString();
    EXPECT_EQ(directoryEntries(), QStringList{u"imei.csv"_s})
        << "no temporary file may stay behind";
}
#endif

#if defined(Q_OS_LINUX)
TEST_F(BatchTest, FailedWriteWithoutEarlierFileLeavesNoFile) {
    fill(kTacFac, u"000001"_s, u"060001"_s, u"1"_s);
    {
        FileSizeLimit limit(64 * 1024);
        ASSERT_TRUE(limit.active());
        handlers.command3Clicked();
    }

    ASSERT_EQ(user.messages.size(), 1);
    EXPECT_TRUE(user.messages.first().startsWith(u"无法写入文件"_s))
        << user.messages.first().toStdString();
    EXPECT_TRUE(directoryEntries().isEmpty()) << directoryEntries().join(u' ').toStdString();
}

// Makes a folder read-only for this process. Permission bits do not stop root, so root gets a
// read-only bind mount in a mount namespace of the process's own, which goes with the process.
class ReadOnlyFolder {
public:
    explicit ReadOnlyFolder(const QString& path) : path_(QFile::encodeName(path)) {
        if (::geteuid() != 0) {
            permissionBits_ = QFile::setPermissions(path, QFile::ReadOwner | QFile::ExeOwner);
            return;
        }
        if (::unshare(CLONE_NEWNS) != 0) return;
        if (::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) return;
        if (::mount(path_.constData(), path_.constData(), nullptr, MS_BIND, nullptr) != 0) return;
        mounted_ = true;
        readOnly_ = ::mount(nullptr, path_.constData(), nullptr, MS_BIND | MS_REMOUNT | MS_RDONLY,
                            nullptr) == 0;
    }
    ~ReadOnlyFolder() {
        if (mounted_) ::umount2(path_.constData(), MNT_DETACH);
        if (permissionBits_) {
            QFile::setPermissions(QFile::decodeName(path_),
                                  QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        }
    }
    bool active() const { return permissionBits_ || readOnly_; }

private:
    QByteArray path_;
    bool permissionBits_ = false;
    bool mounted_ = false;
    bool readOnly_ = false;
};

TEST_F(BatchTest, ReadOnlyFolderIsReported) {
    const QByteArray earlier = "earlier run\r\n";
    writeEarlierCsv(earlier);
    fill(kTacFac, u"1"_s, u"3"_s, u"1"_s);
    {
        ReadOnlyFolder readOnly(QDir::currentPath());
        if (!readOnly.active()) GTEST_SKIP() << "root without mount namespaces writes anywhere";
        handlers.command3Clicked();
    }

    ASSERT_EQ(user.messages.size(), 1);
    EXPECT_TRUE(user.messages.first().startsWith(
        u"无法写入文件“%1”："_s.arg(QDir::toNativeSeparators(csvPath()))))
        << user.messages.first().toStdString();
    EXPECT_EQ(csv(), earlier);
    EXPECT_EQ(directoryEntries(), QStringList{u"imei.csv"_s});
}

// The working folder is removed while the program runs: its path is gone, and nothing may be
// written anywhere else instead (a path built on the empty current path would be /imei.csv).
TEST_F(BatchTest, RemovedWorkingFolderIsReported) {
    const bool rootFileBefore = QFileInfo::exists(u"/imei.csv"_s);
    ASSERT_TRUE(QDir().mkdir(u"gone"_s));
    ASSERT_TRUE(QDir::setCurrent(u"gone"_s));
    ASSERT_EQ(::rmdir(QFile::encodeName(QDir::currentPath()).constData()), 0);
    fill(kTacFac, u"1"_s, u"3"_s, u"1"_s);

    handlers.command3Clicked();

    ASSERT_EQ(user.messages.size(), 1);
    EXPECT_TRUE(user.messages.first().startsWith(u"无法写入文件“imei.csv”："_s))
        << user.messages.first().toStdString();
    EXPECT_EQ(QFileInfo::exists(u"/imei.csv"_s), rootFileBefore);
}
#endif

// ---------------------------------------------------------------------------------------------
TEST_F(BatchTest, PastedTacFacIsCutToEightAndMovesOn) {
    form.setBoxText(Box::Text3, u"123456789"_s);
    EXPECT_EQ(form.boxText(Box::Text3), u"12345678"_s);
    EXPECT_EQ(form.focusMoves, std::vector{FocusTarget::Text4});
}

TEST_F(BatchTest, SerialBoxesCutToSixAndMoveOn) {
    form.setBoxText(Box::Text4, u"1234567"_s);
    form.setBoxText(Box::Text5, u"7654321"_s);
    EXPECT_EQ(form.boxText(Box::Text4), u"123456"_s);
    EXPECT_EQ(form.boxText(Box::Text5), u"765432"_s);
    EXPECT_EQ(form.focusMoves, (std::vector{FocusTarget::Text5, FocusTarget::Command3}));
}

TEST_F(BatchTest, PasteAndCopyGoThroughTheClipboard) {
    user.clipboard = u"49015420323751"_s;
    handlers.command7Clicked();
    EXPECT_EQ(form.boxText(Box::Text1), u"49015420323751"_s);
    EXPECT_EQ(form.boxText(Box::Text2), u"490154203237518"_s);

    user.clipboard = u"something else"_s;
    handlers.command5Clicked();
    EXPECT_EQ(user.clipboard, u"490154203237518"_s);

    form.setBoxText(Box::Text1, u"4901542032375"_s);
    EXPECT_EQ(form.boxText(Box::Text2), QString());
}

}  // namespace
}  // namespace tallisk
