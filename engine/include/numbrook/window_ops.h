#pragma once

#include <QString>
#include <cstdint>
#include <string>
#include <string_view>

namespace numbrook {

// Object names of the main window's controls. The engine addresses the
// window only through these names and the operations of WindowOps.
namespace control {
inline constexpr std::string_view kStartBox = "起始数据编辑框";
inline constexpr std::string_view kCheckBox = "编辑框2";
inline constexpr std::string_view kCountBox = "数量编辑框";
inline constexpr std::string_view kStepBox = "递增数量编辑框";
inline constexpr std::string_view kCopiesBox = "单条复制编辑框";
inline constexpr std::string_view kColumnsBox = "分成几列编辑框";
inline constexpr std::string_view kImeiRadio = "单选框1";
inline constexpr std::string_view kMeidRadio = "单选框2";
inline constexpr std::string_view kIncreaseRadio = "递增单选框";
inline constexpr std::string_view kDecreaseRadio = "递减单选框";
inline constexpr std::string_view kShuffleCheck = "打乱选择框";
inline constexpr std::string_view kGenerateButton = "TMEI按钮";
inline constexpr std::string_view kCompleteButton = "TMEI按钮2";
inline constexpr std::string_view kFileDialog = "通用对话框1";
}  // namespace control

enum class InputMode : int { AnyCharacter = 0, Integer = 3 };
enum class DialogKind : int { Open = 0, Save = 1 };
enum class MessageIcon { Information, Exclamation, Error };

// Everything the engine needs from the window. The Qt main window and the
// command-line driver each implement it; the handlers never see a widget.
//
// Edit-box texts cross this boundary as bytes in the Chinese code page
// (GB18030), because the number rules count and compare bytes. Paths and
// message texts are Unicode.
class WindowOps {
public:
    virtual ~WindowOps() = default;

    // Current content of an edit box, encoded in GB18030.
    virtual std::string editText(std::string_view controlName) const = 0;
    // Replaces the content of the check-character display.
    virtual void setCheckDisplay(const std::string& gbText) = 0;
    // Whether a radio button is selected or the check box ticked.
    virtual bool isChecked(std::string_view controlName) const = 0;
    virtual void setStartInputMode(InputMode mode) = 0;

    virtual void setDialogKind(DialogKind kind) = 0;
    // Shows the file dialog; true when the user confirmed a file.
    virtual bool showDialog() = 0;
    virtual QString dialogFileName() const = 0;

    virtual void showMessage(const QString& text, const QString& title, MessageIcon icon) = 0;

    // Called now and then during long runs with the work done so far, out of
    // `total` (both in the same unit). The default does nothing; a window
    // uses it to keep painting and to show a progress bar.
    virtual void reportProgress(std::uint64_t done, std::uint64_t total) {
        (void)done;
        (void)total;
    }
};

}  // namespace numbrook
