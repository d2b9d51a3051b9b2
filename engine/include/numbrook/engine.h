#pragma once

#include <QString>

#include "numbrook/shuffle.h"
#include "numbrook/window_ops.h"

namespace numbrook {

// How a handler run ended. The window ignores it (the user has seen the
// message already); the command-line driver turns it into its exit status.
enum class Outcome {
    Cancelled,    // a file dialog was cancelled: nothing written, nothing shown
    Completed,    // the file was written and the completion message shown
    ReachedZero,  // a decreasing run stopped at zero; the file holds what came before
    Checked,      // the start value was accepted (check display updated)
    Rejected,     // the start value holds a character the mode does not allow
    Refused,      // the settings cannot be run (nothing written)
    Failed,       // a file could not be read or written (nothing written)
};

// The number engine behind the generator's window. One instance lives as
// long as the program; it keeps only the application title text and the
// shuffle's seed counter between events.
class Engine {
public:
    explicit Engine(WindowOps& window, MillisecondClock clock = MillisecondsSinceStart);

    void setApplicationTitle(const QString& title) { applicationTitle_ = title; }
    const QString& applicationTitle() const { return applicationTitle_; }

    // Click of "生成输出TXT文件".
    Outcome GenerateBatch();
    // Click of "TXT文件批量计算".
    Outcome CompleteTextFile();
    // Every change of the start value box.
    Outcome CheckStartValue();
    // Clicks of the mode radio buttons: only the start box's input filter changes.
    void ImeiModeClicked();
    void MeidModeClicked();

private:
    Mode currentMode() const;

    WindowOps& window_;
    ShuffleRng rng_;
    QString applicationTitle_;
};

// Texts the engine shows.
namespace message {
inline const QString kGenerated = QStringLiteral("数据生成完毕！");
inline const QString kCompleted = QStringLiteral("处理完毕！");
inline const QString kCompletionTitle = QStringLiteral("Corvenna");
inline const QString kImeiCharacters = QStringLiteral("请输入0123456789之内的数！");
inline const QString kMeidCharacters = QStringLiteral("请输入0123456789ABCDEF之内的字符！");
}  // namespace message

}  // namespace numbrook
