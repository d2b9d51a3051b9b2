#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <deque>
#include <map>

#include "numbrook/check_digit.h"
#include "numbrook/engine.h"
#include "numbrook/serial.h"

namespace numbrook {
namespace {

struct Shown {
    QString text;
    QString title;
    MessageIcon icon;
};

// A scripted window: control contents are set by the test, dialog answers
// are queued, messages are recorded.
class FakeWindow final : public WindowOps {
public:
    FakeWindow() {
        for (auto box :
             {control::kCountBox, control::kStepBox, control::kCopiesBox, control::kColumnsBox}) {
            texts[std::string(box)] = "1";
        }
        checked[std::string(control::kImeiRadio)] = true;
        checked[std::string(control::kIncreaseRadio)] = true;
    }

    std::string editText(std::string_view name) const override {
        const auto it = texts.find(std::string(name));
        return it == texts.end() ? std::string() : it->second;
    }
    void setCheckDisplay(const std::string& text) override { display = text; }
    bool isChecked(std::string_view name) const override {
        const auto it = checked.find(std::string(name));
        return it != checked.end() && it->second;
    }
    void setStartInputMode(InputMode mode) override { inputMode = mode; }
    void setDialogKind(DialogKind kind) override { dialogKinds.push_back(kind); }
    bool showDialog() override {
        if (answers.empty()) return false;
        fileName = answers.front();
        answers.pop_front();
        return !fileName.isEmpty();
    }
    QString dialogFileName() const override { return fileName; }
    void showMessage(const QString& text, const QString& title, MessageIcon icon) override {
        messages.push_back({text, title, icon});
    }

    void setMeid() {
        checked[std::string(control::kImeiRadio)] = false;
        checked[std::string(control::kMeidRadio)] = true;
    }

    std::map<std::string, std::string> texts;
    std::map<std::string, bool> checked;
    std::deque<QString> answers;  // an empty path answers "cancel"
    std::vector<DialogKind> dialogKinds;
    QString fileName;
    std::string display;
    InputMode inputMode = InputMode::Integer;
    std::vector<Shown> messages;
};

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

std::string item(const std::string& body, Mode mode = Mode::Imei) {
    return body + ComputeCheckDigit(body, mode);
}

class HandlersTest : public testing::Test {
protected:
    QString path(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }
    Outcome generate(const QString& out) {
        window.answers.push_back(out);
        return engine.GenerateBatch();
    }

    QTemporaryDir dir;
    FakeWindow window;
    Engine engine{window, [] { return 4242u; }};
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        engine.setApplicationTitle(QStringLiteral("Vantrel"));
    }
};

struct GenerationCase {
    const char* name;
    std::map<std::string, std::string> settings;  // control name -> content
    bool meid, down;
    std::string expected;
};

class GenerationTest : public HandlersTest, public testing::WithParamInterface<GenerationCase> {};

const std::string kStart = "49015420323751";
const std::string I1 = item("49015420323751"), I2 = item("49015420323752"),
                  I3 = item("49015420323753"), I4 = item("49015420323754"),
                  I5 = item("49015420323755");

TEST_P(GenerationTest, WritesTheRows) {
    const GenerationCase& c = GetParam();
    window.texts[std::string(control::kStartBox)] = kStart;
    for (const auto& [box, text] : c.settings) window.texts[box] = text;
    if (c.meid) window.setMeid();
    if (c.down) window.checked[std::string(control::kIncreaseRadio)] = false;
    const QString out = path("out.txt");
    writeFile(out, "old content that must go");

    EXPECT_EQ(generate(out), Outcome::Completed);
    EXPECT_EQ(readAll(out).toStdString(), c.expected);
    ASSERT_EQ(window.messages.size(), 1u);
    EXPECT_EQ(window.messages[0].text, QStringLiteral("数据生成完毕！"));
    EXPECT_EQ(window.messages[0].title, QStringLiteral("Vantrel"));
    EXPECT_EQ(window.messages[0].icon, MessageIcon::Information);
    EXPECT_EQ(window.dialogKinds, std::vector<DialogKind>{DialogKind::Save});
}

const std::string kCount = std::string(control::kCountBox),
                  kColumns = std::string(control::kColumnsBox),
                  kCopies = std::string(control::kCopiesBox),
                  kStep = std::string(control::kStepBox),
                  kStartBox = std::string(control::kStartBox);

INSTANTIATE_TEST_SUITE_P(
    Settings, GenerationTest,
    testing::Values(
        GenerationCase{"OneItem", {}, false, false, I1 + "\r\n"},
        GenerationCase{"OneItemThreeColumns", {{kColumns, "3"}}, false, false, I1 + " \r\n"},
        GenerationCase{"ShortLastRow",
                       {{kCount, "5"}, {kColumns, "3"}},
                       false,
                       false,
                       I1 + " " + I2 + " " + I3 + "\r\n" + I4 + " " + I5 + " \r\n"},
        GenerationCase{"FullRowsEndWithoutSpace",
                       {{kCount, "4"}, {kColumns, "2"}},
                       false,
                       false,
                       I1 + " " + I2 + "\r\n" + I3 + " " + I4 + "\r\n"},
        GenerationCase{"MoreColumnsThanItems",
                       {{kCount, "2"}, {kColumns, "5"}},
                       false,
                       false,
                       I1 + " " + I2 + " \r\n"},
        GenerationCase{"CopiesCutAtCount",
                       {{kCount, "5"}, {kCopies, "3"}},
                       false,
                       false,
                       I1 + "\r\n" + I1 + "\r\n" + I1 + "\r\n" + I2 + "\r\n" + I2 + "\r\n"},
        GenerationCase{"CountZeroIsEmpty", {{kCount, "0"}}, false, false, ""},
        GenerationCase{"NegativeCountIsEmpty", {{kCount, "-4"}}, false, false, ""},
        GenerationCase{"CountNotANumberIsEmpty", {{kCount, "abc"}}, false, false, ""},
        GenerationCase{"ColumnsAndCopiesBelowOneAreOne",
                       {{kCount, "2"}, {kColumns, "0"}, {kCopies, "x"}},
                       false,
                       false,
                       I1 + "\r\n" + I2 + "\r\n"},
        GenerationCase{"StepZeroRepeats",
                       {{kCount, "3"}, {kStep, "0"}},
                       false,
                       false,
                       I1 + "\r\n" + I1 + "\r\n" + I1 + "\r\n"},
        GenerationCase{
            "StepTwo", {{kCount, "2"}, {kStep, "2"}}, false, false, I1 + "\r\n" + I3 + "\r\n"},
        GenerationCase{"DecreasingBorrows",
                       {{kStartBox, "00000000000100"}, {kCount, "2"}},
                       false,
                       true,
                       item("00000000000100") + "\r\n" + item("00000000000099") + "\r\n"},
        GenerationCase{"DecreasingDownToZero",
                       {{kStartBox, "00000000000001"}, {kCount, "2"}},
                       false,
                       true,
                       item("00000000000001") + "\r\n" + item("00000000000000") + "\r\n"},
        GenerationCase{"MeidStepsInHexadecimal",
                       {{kStartBox, "0000000000000f"}, {kCount, "2"}},
                       true,
                       false,
                       item("0000000000000f", Mode::Meid) + "\r\n" +
                           item("00000000000010", Mode::Meid) + "\r\n"},
        GenerationCase{"ShortBodyHasNoCheckCharacter",
                       {{kStartBox, "123"}, {kCount, "2"}},
                       false,
                       false,
                       "123\r\n124\r\n"},
        GenerationCase{"GrowsPastFourteen",
                       {{kStartBox, "99999999999999"}, {kCount, "2"}},
                       false,
                       false,
                       item("99999999999999") + "\r\n" + item("100000000000000") + "\r\n"},
        GenerationCase{
            "ShuffleOfTwoKeepsOrder", {{kCount, "2"}}, false, false, I1 + "\r\n" + I2 + "\r\n"}),
    [](const testing::TestParamInfo<GenerationCase>& info) {
        return std::string(info.param.name);
    });

TEST_F(HandlersTest, ShuffleOfTwoItemsKeepsTheirOrder) {
    window.texts[kStartBox] = kStart;
    window.texts[kCount] = "2";
    window.checked[std::string(control::kShuffleCheck)] = true;
    EXPECT_EQ(generate(path("s.txt")), Outcome::Completed);
    EXPECT_EQ(readAll(path("s.txt")).toStdString(), I1 + "\r\n" + I2 + "\r\n");
}

TEST_F(HandlersTest, ShuffleReordersTheWholeListBeforeCutting) {
    window.texts[kStartBox] = kStart;
    window.texts[kCount] = "5";
    window.texts[kCopies] = "3";
    window.checked[std::string(control::kShuffleCheck)] = true;
    ASSERT_EQ(generate(path("s.txt")), Outcome::Completed);

    // The same list of fifteen items through the same clock and counter.
    std::vector<std::uint32_t> list;
    for (std::uint32_t v = 0; v < 5; ++v) list.insert(list.end(), 3, v);
    ShuffleRng rng([] { return 4242u; });
    ShuffleBatch(list, rng);
    const std::string items[] = {I1, I2, I3, I4, I5};
    std::string expected;
    for (int i = 0; i < 5; ++i) expected += items[list[i]] + "\r\n";
    EXPECT_EQ(readAll(path("s.txt")).toStdString(), expected);
}

TEST_F(HandlersTest, CancelledSaveDialogDoesNothing) {
    window.answers.push_back(QString());
    EXPECT_EQ(engine.GenerateBatch(), Outcome::Cancelled);
    EXPECT_TRUE(window.messages.empty());
    EXPECT_TRUE(QDir(dir.path()).isEmpty());
}

TEST_F(HandlersTest, DecreasingRunStopsAtZeroAndWarns) {
    window.texts[kStartBox] = "00000000000001";
    window.texts[kCount] = "5";
    window.texts[kCopies] = "2";
    window.texts[kColumns] = "3";
    window.checked[std::string(control::kIncreaseRadio)] = false;
    EXPECT_EQ(generate(path("z.txt")), Outcome::ReachedZero);
    const std::string one = item("00000000000001"), zero = item("00000000000000");
    EXPECT_EQ(readAll(path("z.txt")).toStdString(),
              one + " " + one + " " + zero + "\r\n" + zero + " \r\n");
    ASSERT_EQ(window.messages.size(), 1u);
    EXPECT_EQ(window.messages[0].icon, MessageIcon::Exclamation);
    EXPECT_EQ(window.messages[0].title, QStringLiteral("Vantrel"));
    EXPECT_TRUE(window.messages[0].text.contains(QStringLiteral(" 4 ")))
        << window.messages[0].text.toStdString();
}

TEST_F(HandlersTest, DecreasingRunThatNeverWritesBelowZeroCompletes) {
    // Only two values are written; the third, below zero, is never needed.
    window.texts[kStartBox] = "00000000000001";
    window.texts[kCount] = "2";
    window.checked[std::string(control::kIncreaseRadio)] = false;
    EXPECT_EQ(generate(path("z.txt")), Outcome::Completed);
}

TEST_F(HandlersTest, NegativeStartTextWritesOnlyTheFirstItem) {
    window.texts[kStartBox] = "-5";
    window.texts[kCount] = "3";
    EXPECT_EQ(generate(path("n.txt")), Outcome::ReachedZero);
    EXPECT_EQ(readAll(path("n.txt")).toStdString(), "-5\r\n");
}

TEST_F(HandlersTest, ShuffleTooLargeIsRefusedAndLeavesTheFileAlone) {
    const QString out = path("big.txt");
    writeFile(out, "keep me");
    window.texts[kCount] = "2147483647";
    window.texts[kCopies] = "2147483647";
    window.checked[std::string(control::kShuffleCheck)] = true;
    EXPECT_EQ(generate(out), Outcome::Refused);
    EXPECT_EQ(readAll(out), QByteArray("keep me"));
    ASSERT_EQ(window.messages.size(), 1u);
    EXPECT_EQ(window.messages[0].icon, MessageIcon::Exclamation);
}

TEST_F(HandlersTest, UnwritableOutputIsReportedWithItsName) {
    const QString out = path("no-such-folder/out.txt");
    EXPECT_EQ(generate(out), Outcome::Failed);
    ASSERT_EQ(window.messages.size(), 1u);
    EXPECT_TRUE(window.messages[0].text.contains(QDir::toNativeSeparators(out)));
    EXPECT_EQ(window.messages[0].icon, MessageIcon::Exclamation);
    EXPECT_EQ(window.messages[0].title, QStringLiteral("Vantrel"));
}

TEST_F(HandlersTest, OutputThatIsAFolderIsReported) {
    EXPECT_EQ(generate(dir.path()), Outcome::Failed);
    EXPECT_TRUE(QFileInfo(dir.path()).isDir());
}

struct StartValueCase {
    const char* name;
    bool meid;
    std::string text;
    std::string display;  // expected check display when accepted
    bool rejected;
};

class StartValueTest : public HandlersTest, public testing::WithParamInterface<StartValueCase> {};

TEST_P(StartValueTest, ShowsTheCheckCharacterOrWarns) {
    const StartValueCase& c = GetParam();
    if (c.meid) window.setMeid();
    window.display = "?";
    window.texts[kStartBox] = c.text;
    const Outcome outcome = engine.CheckStartValue();
    if (c.rejected) {
        EXPECT_EQ(outcome, Outcome::Rejected);
        EXPECT_EQ(window.display, "?") << "the display keeps what it showed";
        ASSERT_EQ(window.messages.size(), 1u);
        EXPECT_EQ(window.messages[0].text,
                  c.meid ? QStringLiteral("请输入0123456789ABCDEF之内的字符！")
                         : QStringLiteral("请输入0123456789之内的数！"));
        EXPECT_EQ(window.messages[0].title, QStringLiteral("Vantrel"));
        EXPECT_EQ(window.messages[0].icon, MessageIcon::Exclamation);
    } else {
        EXPECT_EQ(outcome, Outcome::Checked);
        EXPECT_EQ(window.display, c.display);
        EXPECT_TRUE(window.messages.empty());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Texts, StartValueTest,
    testing::Values(StartValueCase{"ThirteenDigits", false, "4901542032375", "", false},
                    StartValueCase{"FourteenDigits", false, "49015420323751", "8", false},
                    StartValueCase{"Empty", false, "", "", false},
                    StartValueCase{"Minus", false, "-", "", true},
                    StartValueCase{"SpaceInPaste", false, "4901 542", "", true},
                    StartValueCase{"LetterInImei", false, "4901A", "", true},
                    StartValueCase{"MeidBody", true, "AF0123450ABCDE", "C", false},
                    StartValueCase{"MeidG", true, "AF0G", "", true},
                    StartValueCase{"MeidLowerCaseRejected", true, "af", "", true},
                    StartValueCase{"DoubleByteRejected", false, "\xA3\xB5", "", true}),
    [](const testing::TestParamInfo<StartValueCase>& info) {
        return std::string(info.param.name);
    });

TEST_F(HandlersTest, ModeClicksOnlySwitchTheInputFilter) {
    window.display = "8";
    engine.MeidModeClicked();
    EXPECT_EQ(window.inputMode, InputMode::AnyCharacter);
    engine.ImeiModeClicked();
    EXPECT_EQ(window.inputMode, InputMode::Integer);
    EXPECT_EQ(window.display, "8");
    EXPECT_TRUE(window.messages.empty());
}

TEST_F(HandlersTest, CompletesATextFile) {
    const QString in = path("in.txt"), out = path("out.txt");
    writeFile(in, "49015420323751\r\n3520 9900 1761 48\r\n\r\n123\r\n");
    window.answers = {in, out};
    EXPECT_EQ(engine.CompleteTextFile(), Outcome::Completed);
    EXPECT_EQ(readAll(out), QByteArray("490154203237518\r\n352099001761481\r\n\r\n123\r\n"));
    EXPECT_EQ(window.dialogKinds, (std::vector<DialogKind>{DialogKind::Open, DialogKind::Save}));
    ASSERT_EQ(window.messages.size(), 1u);
    EXPECT_EQ(window.messages[0].text, QStringLiteral("处理完毕！"));
    EXPECT_EQ(window.messages[0].title, QStringLiteral("Corvenna"));
    EXPECT_EQ(window.messages[0].icon, MessageIcon::Information);
}

TEST_F(HandlersTest, CompletesTheInputFileInPlace) {
    const QString in = path("same.txt");
    writeFile(in, "49015420323751\r\n35209900176148");
    window.answers = {in, in};
    EXPECT_EQ(engine.CompleteTextFile(), Outcome::Completed);
    EXPECT_EQ(readAll(in), QByteArray("490154203237518\r\n352099001761481\r\n"));
}

TEST_F(HandlersTest, EmptyInputGivesOneLineEnd) {
    const QString in = path("empty.txt"), out = path("out.txt");
    writeFile(in, "");
    window.answers = {in, out};
    EXPECT_EQ(engine.CompleteTextFile(), Outcome::Completed);
    EXPECT_EQ(readAll(out), QByteArray("\r\n"));
}

TEST_F(HandlersTest, UnreadableInputWritesNothing) {
    const QString out = path("out.txt");
    writeFile(out, "keep me");
    window.answers = {path("missing.txt"), out};
    EXPECT_EQ(engine.CompleteTextFile(), Outcome::Failed);
    EXPECT_EQ(readAll(out), QByteArray("keep me"));
    ASSERT_EQ(window.messages.size(), 1u);
    EXPECT_TRUE(window.messages[0].text.contains(QDir::toNativeSeparators(path("missing.txt"))));
    EXPECT_EQ(window.messages[0].title, QStringLiteral("Corvenna"));
}

TEST_F(HandlersTest, CancelInEitherCompletionDialogDoesNothing) {
    const QString in = path("in.txt");
    writeFile(in, "49015420323751\r\n");
    for (const auto& answers :
         {std::deque<QString>{QString()}, std::deque<QString>{in, QString()}}) {
        window.answers = answers;
        EXPECT_EQ(engine.CompleteTextFile(), Outcome::Cancelled);
    }
    EXPECT_TRUE(window.messages.empty());
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("in.txt")});
}

}  // namespace
}  // namespace numbrook

namespace numbrook {
namespace {

struct ChainCase {
    const char* name;
    std::string start;
    const char* step;
    bool down;
    bool meid;
};

class ChainTest : public HandlersTest, public testing::WithParamInterface<ChainCase> {};

// Long runs update bodies and check characters from what changed; every item
// must still be the start stepped again and again, with its full check.
TEST_P(ChainTest, ItemsFollowTheStepChain) {
    const ChainCase& c = GetParam();
    window.texts[kStartBox] = c.start;
    window.texts[kCount] = "400";
    window.texts[kStep] = c.step;
    if (c.down) window.checked[std::string(control::kIncreaseRadio)] = false;
    if (c.meid) window.setMeid();
    const Mode mode = c.meid ? Mode::Meid : Mode::Imei;
    const Outcome outcome = generate(path("chain.txt"));
    ASSERT_TRUE(outcome == Outcome::Completed || outcome == Outcome::ReachedZero);

    std::string expected;
    std::optional<std::string> body = c.start;
    const std::int32_t step = (c.down ? -1 : 1) * std::stoi(c.step);
    for (int i = 0; i < 400 && body; ++i) {
        expected += item(*body, mode) + "\r\n";
        body = StepSerial(*body, c.meid ? 16 : 10, step);
    }
    EXPECT_EQ(readAll(path("chain.txt")).toStdString(), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Runs, ChainTest,
    testing::Values(ChainCase{"UpByOne", "49015420323751", "1", false, false},
                    ChainCase{"UpBySeven", "35693803099990", "7", false, false},
                    ChainCase{"UpAcrossWidth", "99999999999800", "1", false, false},
                    ChainCase{"DownByOne", "00000000000350", "1", true, false},
                    ChainCase{"DownByLargeSteps", "90000000000000", "123456789", true, false},
                    ChainCase{"FifteenDigitBodies", "100000000000000", "3", false, false},
                    ChainCase{"ShortBodies", "12", "1", false, false},
                    ChainCase{"PrefixedBodies", "AB0000000000990", "1", false, false},
                    ChainCase{"MeidUp", "FFFFFFFFFFFF00", "1", false, true},
                    ChainCase{"MeidDown", "00000000000150", "1", true, true}),
    [](const testing::TestParamInfo<ChainCase>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace numbrook
