#pragma once

#include <QSize>
#include <QtGlobal>
#include <optional>
#include <span>
#include <string_view>

namespace numbrook::gui {

struct Rgb {
    int red;
    int green;
    int blue;
};

enum class ControlType { Picture, Shape, RadioButton, Label, EditBox, CheckBox, PushButton };

// Which widget a control is placed in; positions are relative to it.
enum class Container { Window, ModeFrame };

enum class FontFace { Default, SongTi12 };

struct SpinnerRange {
    int lower;
    int upper;
};

// One control of the main window as it is created at start-up. The window is
// built from this data alone and never changes its layout afterwards.
struct ControlDefinition {
    ControlType type;
    std::string_view name;
    Container container;
    int x;
    int y;
    int width;
    int height;
    std::string_view caption = {};  // caption or initial content
    Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter;
    bool checked = false;  // radio buttons and check box
    bool enabled = true;
    std::optional<Rgb> textColour = {};  // black when absent
    std::optional<Rgb> background = {};  // edit boxes: white when absent
    FontFace font = FontFace::Default;
    int maxLength = 0;  // 0: no limit
    bool integerFilter = false;
    bool upperCase = false;
    std::optional<SpinnerRange> spinner = {};
    std::string_view picture = {};  // resource path of the picture or icon
};

struct WindowDefinition {
    std::string_view title;
    // The outer size the window is centred with, frame and caption included.
    QSize outerSize;
    // The client area kept on every platform: the outer size less a 3-pixel
    // fixed frame on each side and a 26-pixel caption. The lowest control
    // ends at y = 286 and the rightmost at x = 412, so all of them fit.
    QSize clientSize;
    Rgb background;
    std::string_view icon;
    std::span<const ControlDefinition> controls;
};

const WindowDefinition& mainWindowDefinition();

// The name of the frame that holds the mode radio buttons.
inline constexpr std::string_view kModeFrameName = "外形框1";

}  // namespace numbrook::gui
