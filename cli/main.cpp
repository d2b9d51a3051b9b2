// numbrook-cli: runs the generator's handlers from the command line, with the
// options standing in for the window's controls.
#include <QCommandLineParser>
#include <QCoreApplication>
#include <cstdio>

#include "cli_window.h"
#include "numbrook/engine.h"

using namespace numbrook;

namespace {

constexpr int kExitOk = 0;
constexpr int kExitProblem = 1;
constexpr int kExitUsage = 2;

const char kUsage[] =
    "Usage:\n"
    "  numbrook-cli generate --out FILE [--start TEXT] [--count TEXT] [--step TEXT] [--down]\n"
    "                        [--copies TEXT] [--columns TEXT] [--shuffle] [--meid] [--progress]\n"
    "  numbrook-cli complete --in FILE --out FILE [--meid] [--progress]\n"
    "  numbrook-cli check [--meid] TEXT\n"
    "  numbrook-cli --help\n"
    "  numbrook-cli --version\n"
    "\n"
    "Writes lists of IMEI (decimal) or MEID (hexadecimal) numbers with their check\n"
    "characters, completes every line of a text file, or shows the check character\n"
    "of one 14-character body. Each option stands for the generator window's control\n"
    "of the same meaning and is read the way the window reads it.\n"
    "\n"
    "generate   write a list to FILE (created, or replaced when it exists)\n"
    "  --out FILE       the output file\n"
    "  --start TEXT     start body, 14 characters (default: empty)\n"
    "  --count TEXT     how many numbers to write (default: 1)\n"
    "  --step TEXT      step between values (default: 1)\n"
    "  --down           count down instead of up\n"
    "  --copies TEXT    copies of each value (default: 1)\n"
    "  --columns TEXT   numbers per line (default: 1)\n"
    "  --shuffle        shuffle the list before writing\n"
    "complete   write every line of --in FILE with its check character to --out FILE\n"
    "           (--in and --out may name the same file)\n"
    "check      print the check character of TEXT (an empty line when it is shorter\n"
    "           than 14 characters)\n"
    "\n"
    "  --meid           MEID mode (hexadecimal) instead of IMEI mode (decimal)\n"
    "  --progress       report progress on standard error\n"
    "  --               ends the options, so TEXT may begin with \"-\"\n"
    "\n"
    "Messages are printed on standard output, errors on standard error.\n"
    "Exit status: 0 when the file was written or the check character shown, 1 when a\n"
    "problem was reported, 2 for a usage error.\n";

void printLine(std::FILE* stream, const QString& text) {
    const QByteArray bytes = text.toLocal8Bit();
    std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stream);
    std::fputc('\n', stream);
}

int usageError(const QString& problem) {
    printLine(stderr, QStringLiteral("numbrook-cli: %1").arg(problem));
    printLine(stderr, QStringLiteral("Try 'numbrook-cli --help' for more information."));
    return kExitUsage;
}

struct Command {
    QString name;
    QList<QCommandLineOption> options;
    QStringList required;
    bool takesText = false;
};

QCommandLineOption valueOption(const QString& name, const QString& valueName) {
    return QCommandLineOption(name, QString(), valueName);
}

QList<Command> commands() {
    const auto meid = QCommandLineOption(QStringLiteral("meid"));
    const auto progress = QCommandLineOption(QStringLiteral("progress"));
    const auto out = valueOption(QStringLiteral("out"), QStringLiteral("FILE"));
    return {
        {QStringLiteral("generate"),
         {out, valueOption(QStringLiteral("start"), QStringLiteral("TEXT")),
          valueOption(QStringLiteral("count"), QStringLiteral("TEXT")),
          valueOption(QStringLiteral("step"), QStringLiteral("TEXT")),
          QCommandLineOption(QStringLiteral("down")),
          valueOption(QStringLiteral("copies"), QStringLiteral("TEXT")),
          valueOption(QStringLiteral("columns"), QStringLiteral("TEXT")),
          QCommandLineOption(QStringLiteral("shuffle")), meid, progress},
         {QStringLiteral("out")},
         false},
        {QStringLiteral("complete"),
         {valueOption(QStringLiteral("in"), QStringLiteral("FILE")), out, meid, progress},
         {QStringLiteral("in"), QStringLiteral("out")},
         false},
        {QStringLiteral("check"), {meid}, {}, true},
    };
}

// Prints what the handler showed: on standard output when the run went
// through, on standard error when it reports a failure.
int finish(const cli::CliWindow& window, Outcome outcome) {
    const bool failed = outcome == Outcome::Failed || outcome == Outcome::Refused;
    for (const QString& text : window.messages()) printLine(failed ? stderr : stdout, text);
    switch (outcome) {
        case Outcome::Completed:
        case Outcome::ReachedZero:
        case Outcome::Checked:
            return kExitOk;
        default:
            return kExitProblem;
    }
}

}  // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() < 2) return usageError(QStringLiteral("missing command"));
    const QString commandName = arguments.at(1);
    if (commandName == QStringLiteral("--help") || commandName == QStringLiteral("-h")) {
        std::fputs(kUsage, stdout);
        return kExitOk;
    }
    if (commandName == QStringLiteral("--version")) {
        std::puts("numbrook-cli " NUMBROOK_VERSION);
        return kExitOk;
    }

    const QList<Command> all = commands();
    const auto command = std::find_if(all.begin(), all.end(),
                                      [&](const Command& c) { return c.name == commandName; });
    if (command == all.end())
        return usageError(QStringLiteral("unknown command '%1'").arg(commandName));

    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.addOptions(command->options);
    const QCommandLineOption help(QStringList{QStringLiteral("help"), QStringLiteral("h")});
    parser.addOption(help);
    arguments.removeAt(1);
    if (!parser.parse(arguments)) return usageError(parser.errorText());
    if (parser.isSet(help)) {
        std::fputs(kUsage, stdout);
        return kExitOk;
    }
    for (const QString& name : command->required) {
        if (!parser.isSet(name)) return usageError(QStringLiteral("missing --%1").arg(name));
    }
    const QStringList positional = parser.positionalArguments();
    if (command->takesText ? positional.size() != 1 : !positional.isEmpty()) {
        return usageError(command->takesText
                              ? QStringLiteral("check takes exactly one TEXT")
                              : QStringLiteral("unexpected argument '%1'").arg(positional.first()));
    }

    cli::CliWindow window;
    const bool meid = parser.isSet(QStringLiteral("meid"));
    window.setChecked(control::kImeiRadio, !meid);
    window.setChecked(control::kMeidRadio, meid);
    if (command->name != QStringLiteral("check")) {
        window.setProgressShown(parser.isSet(QStringLiteral("progress")));
    }
    Engine engine(window);
    engine.setApplicationTitle(QStringLiteral("Vantrel"));

    if (command->name == QStringLiteral("generate")) {
        const std::pair<const char*, std::string_view> boxes[] = {
            {"start", control::kStartBox},     {"count", control::kCountBox},
            {"step", control::kStepBox},       {"copies", control::kCopiesBox},
            {"columns", control::kColumnsBox},
        };
        for (const auto& [option, box] : boxes) {
            const QString name = QString::fromLatin1(option);
            if (parser.isSet(name)) window.setEditText(box, parser.value(name));
        }
        const bool down = parser.isSet(QStringLiteral("down"));
        window.setChecked(control::kIncreaseRadio, !down);
        window.setChecked(control::kDecreaseRadio, down);
        window.setChecked(control::kShuffleCheck, parser.isSet(QStringLiteral("shuffle")));
        window.setDialogAnswer(DialogKind::Save, parser.value(QStringLiteral("out")));
        return finish(window, engine.GenerateBatch());
    }
    if (command->name == QStringLiteral("complete")) {
        window.setDialogAnswer(DialogKind::Open, parser.value(QStringLiteral("in")));
        window.setDialogAnswer(DialogKind::Save, parser.value(QStringLiteral("out")));
        return finish(window, engine.CompleteTextFile());
    }

    window.setEditText(control::kStartBox, positional.first());
    const Outcome outcome = engine.CheckStartValue();
    if (outcome == Outcome::Checked) {
        printLine(stdout, QString::fromStdString(window.checkDisplay()));
        return kExitOk;
    }
    return finish(window, outcome);
}
