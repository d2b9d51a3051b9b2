#include "main_window.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QFont>
#include <QGuiApplication>
#include <QLabel>
#include <QProgressDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QShortcut>
#include <QStringDecoder>
#include <QStringEncoder>
#include <algorithm>

#include "controls.h"
#include "window_definition.h"

// The artwork lives in this static library; naming its resource initialiser
// here keeps the linker from dropping it from the programs that use the window.
static void initialiseArtwork() {
    Q_INIT_RESOURCE(numbrook);
}

namespace numbrook::gui {

namespace {

QString fromUtf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QColor toColour(Rgb rgb) {
    return QColor(rgb.red, rgb.green, rgb.blue);
}

QFont fontFor(FontFace face, const QFont& windowFont) {
    if (face == FontFace::Default) return windowFont;
    QFont font(QStringLiteral("宋体"));
    font.setPixelSize(12);
    font.setWeight(QFont::Normal);
    return font;
}

// The banner is drawn two pixels wider and a little taller than the space
// inside the picture box's border; its centre is shown, the plain margins
// of the artwork fall outside.
QPixmap fitIntoPictureBox(const QPixmap& banner, QSize inside) {
    const int left = std::max(0, (banner.width() - inside.width()) / 2);
    const int top = std::max(0, (banner.height() - inside.height()) / 2);
    return banner.copy(left, top, inside.width(), inside.height());
}

// The progress window of long runs. It has no cancel button, and Esc or its
// close box must not hide it while the run goes on.
class RunProgressDialog final : public QProgressDialog {
public:
    explicit RunProgressDialog(QWidget* owner) : QProgressDialog(owner) {}

    void reject() override {}

protected:
    void closeEvent(QCloseEvent* event) override { event->ignore(); }
};

constexpr int kProgressSteps = 1000;
constexpr int kProgressShowAfterMs = 1000;
constexpr int kProgressRefreshMs = 50;

}  // namespace

void installFontSubstitutes() {
    QFont::insertSubstitutions(QStringLiteral("宋体"),
                               {QStringLiteral("AR PL UMing CN"), QStringLiteral("AR PL UMing TW"),
                                QStringLiteral("WenQuanYi Micro Hei")});
    QFont::insertSubstitutions(QStringLiteral("黑体"), {QStringLiteral("WenQuanYi Micro Hei"),
                                                        QStringLiteral("AR PL UMing CN")});
}

std::unique_ptr<MainWindow> MainWindow::create(WindowServices services) {
    initialiseArtwork();
    installFontSubstitutes();
    if (QGuiApplication::primaryScreen() == nullptr) return nullptr;
    std::unique_ptr<MainWindow> window(new MainWindow(std::move(services)));
    if (!window->build()) return nullptr;
    window->wireEvents();
    window->placeOnPrimaryScreen();
    window->onCreated();
    return window;
}

MainWindow::MainWindow(WindowServices services)
    : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                           Qt::WindowCloseButtonHint),
      engine_(*this),
      messages_(services.messages ? std::move(services.messages)
                                  : std::make_unique<QtMessagePresenter>()) {
    std::unique_ptr<FilePrompt> files =
        services.files ? std::move(services.files) : std::make_unique<QtFilePrompt>(this);
    fileDialog_ = new CommonFileDialog(std::move(files), this);
    fileDialog_->setObjectName(fromUtf8(control::kFileDialog));
}

MainWindow::~MainWindow() {
    finishProgress();
}

bool MainWindow::build() {
    const WindowDefinition& definition = mainWindowDefinition();
    setObjectName(QStringLiteral("Numbrook"));
    setWindowTitle(fromUtf8(definition.title));
    setFixedSize(definition.clientSize);

    const QPixmap icon(fromUtf8(definition.icon));
    if (icon.isNull()) return false;
    setWindowIcon(icon);

    QFont windowFont(QStringLiteral("宋体"));
    windowFont.setPixelSize(12);
    setFont(windowFont);

    QPalette windowPalette = palette();
    windowPalette.setColor(QPalette::Window, toColour(definition.background));
    windowPalette.setColor(QPalette::Button, toColour(definition.background));
    windowPalette.setColor(QPalette::WindowText, Qt::black);
    windowPalette.setColor(QPalette::ButtonText, Qt::black);
    setPalette(windowPalette);
    setAutoFillBackground(true);

    QWidget* modeFrame = nullptr;
    for (const ControlDefinition& def : definition.controls) {
        QWidget* container = def.container == Container::ModeFrame ? modeFrame : this;
        if (container == nullptr) return false;
        const QString caption = fromUtf8(def.caption);
        QWidget* widget = nullptr;
        switch (def.type) {
            case ControlType::Picture: {
                auto* picture = new QLabel(container);
                picture->setFrameStyle(QFrame::Panel | QFrame::Sunken);
                picture->setLineWidth(1);
                picture->setAlignment(Qt::AlignLeft | Qt::AlignTop);
                const QPixmap banner(fromUtf8(def.picture));
                if (banner.isNull()) return false;
                picture->setPixmap(fitIntoPictureBox(banner, QSize(def.width - 2, def.height - 2)));
                // The window has no menu; the banner tells which version this is.
                picture->setToolTip(QStringLiteral("Numbrook " NUMBROOK_VERSION));
                widget = picture;
                break;
            }
            case ControlType::Shape:
                widget = modeFrame = new ShapeFrame(container);
                break;
            case ControlType::RadioButton: {
                auto* radio = new QRadioButton(caption, container);
                radio->setChecked(def.checked);
                widget = radio;
                break;
            }
            case ControlType::CheckBox: {
                auto* check = new QCheckBox(caption, container);
                check->setChecked(def.checked);
                widget = check;
                break;
            }
            case ControlType::Label: {
                auto* label = new QLabel(caption, container);
                label->setTextFormat(Qt::PlainText);
                label->setAlignment(def.alignment);
                label->setWordWrap(false);
                widget = label;
                break;
            }
            case ControlType::EditBox: {
                auto* edit = new EditBox(container);
                edit->setText(caption);
                edit->setAlignment(def.alignment);
                if (def.maxLength > 0) edit->setMaxLength(def.maxLength);
                edit->setInputMode(def.integerFilter ? InputMode::Integer
                                                     : InputMode::AnyCharacter);
                edit->setUpperCase(def.upperCase);
                QPalette editPalette = edit->palette();
                editPalette.setColor(QPalette::Base,
                                     def.background ? toColour(*def.background) : Qt::white);
                if (!def.enabled) {
                    // A display box: darker than the style's disabled grey so
                    // the character stays easy to read.
                    editPalette.setColor(QPalette::Disabled, QPalette::Text, QColor(109, 109, 109));
                    edit->setFocusPolicy(Qt::NoFocus);
                }
                edit->setPalette(editPalette);
                widget = edit;
                break;
            }
            case ControlType::PushButton: {
                auto* button = new QPushButton(caption, container);
                const QPixmap buttonIcon(fromUtf8(def.picture));
                if (buttonIcon.isNull()) return false;
                button->setIcon(buttonIcon);
                button->setIconSize(QSize(16, 16));
                button->setAutoDefault(false);
                button->setDefault(false);
                widget = button;
                break;
            }
        }
        widget->setObjectName(fromUtf8(def.name));
        widget->setGeometry(def.x, def.y, def.width, def.height);
        widget->setFont(fontFor(def.font, windowFont));
        widget->setEnabled(def.enabled);
        if (def.textColour) {
            QPalette textPalette = widget->palette();
            textPalette.setColor(QPalette::WindowText, toColour(*def.textColour));
            textPalette.setColor(QPalette::ButtonText, toColour(*def.textColour));
            widget->setPalette(textPalette);
        }
        controls_.insert(widget->objectName(), widget);

        if (def.spinner) {
            auto* edit = static_cast<QLineEdit*>(widget);
            auto* spinner = new UpDownControl(edit, def.spinner->lower, def.spinner->upper, this);
            spinner->setGeometry(def.x + def.width, def.y, 18, def.height);
            spinners_.insert(widget->objectName(), spinner);
        }
    }

    // Each container groups its own radio buttons.
    modeGroup_ = new QButtonGroup(this);
    modeGroup_->addButton(control<QRadioButton>(control::kImeiRadio));
    modeGroup_->addButton(control<QRadioButton>(control::kMeidRadio));
    directionGroup_ = new QButtonGroup(this);
    directionGroup_->addButton(control<QRadioButton>(control::kIncreaseRadio));
    directionGroup_->addButton(control<QRadioButton>(control::kDecreaseRadio));

    auto* closeOnEscape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    closeOnEscape->setContext(Qt::WindowShortcut);
    connect(closeOnEscape, &QShortcut::activated, this, &QWidget::close);

    if (QWidget* start = control(control::kStartBox)) start->setFocus(Qt::OtherFocusReason);
    return true;
}

void MainWindow::wireEvents() {
    connect(control<QLineEdit>(control::kStartBox), &QLineEdit::textChanged, this,
            [this] { engine_.CheckStartValue(); });
    connect(control<QRadioButton>(control::kImeiRadio), &QAbstractButton::clicked, this,
            [this] { engine_.ImeiModeClicked(); });
    connect(control<QRadioButton>(control::kMeidRadio), &QAbstractButton::clicked, this,
            [this] { engine_.MeidModeClicked(); });
    connect(control<QPushButton>(control::kGenerateButton), &QAbstractButton::clicked, this,
            [this] { runHandler([this] { engine_.GenerateBatch(); }); });
    connect(control<QPushButton>(control::kCompleteButton), &QAbstractButton::clicked, this,
            [this] { runHandler([this] { engine_.CompleteTextFile(); }); });
}

void MainWindow::placeOnPrimaryScreen() {
    // Centred by the outer size, so the window sits where it would with its
    // frame on any platform.
    const QSize outer = mainWindowDefinition().outerSize;
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    move(screen.x() + (screen.width() - outer.width()) / 2,
         screen.y() + (screen.height() - outer.height()) / 2);
}

void MainWindow::onCreated() {
    engine_.setApplicationTitle(QStringLiteral("Vantrel"));
}

QWidget* MainWindow::control(std::string_view name) const {
    return controls_.value(fromUtf8(name), nullptr);
}

UpDownControl* MainWindow::spinnerOf(std::string_view editBoxName) const {
    return spinners_.value(fromUtf8(editBoxName), nullptr);
}

template <typename Handler>
void MainWindow::runHandler(Handler handler) {
    if (runningHandler_) return;
    runningHandler_ = true;
    handler();
    finishProgress();
    runningHandler_ = false;
    if (closeRequestedWhileRunning_) {
        closeRequestedWhileRunning_ = false;
        close();
    }
}

void MainWindow::closeEvent(QCloseEvent* event) {
    // Closing in the middle of a run would pull the controls away from a
    // handler still reading them; the window closes once the run is over.
    if (runningHandler_) {
        closeRequestedWhileRunning_ = true;
        event->ignore();
        return;
    }
    event->accept();
}

std::string MainWindow::editText(std::string_view controlName) const {
    const auto* edit = control<QLineEdit>(controlName);
    if (edit == nullptr) return {};
    QStringEncoder toGb18030("GB18030");
    const QByteArray bytes = toGb18030(edit->text());
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

void MainWindow::setCheckDisplay(const std::string& gbText) {
    auto* display = control<QLineEdit>(control::kCheckBox);
    if (display == nullptr) return;
    QStringDecoder fromGb18030("GB18030");
    display->setText(
        fromGb18030(QByteArrayView(gbText.data(), static_cast<qsizetype>(gbText.size()))));
}

bool MainWindow::isChecked(std::string_view controlName) const {
    const auto* button = control<QAbstractButton>(controlName);
    return button != nullptr && button->isChecked();
}

void MainWindow::setStartInputMode(InputMode mode) {
    if (auto* start = control<EditBox>(control::kStartBox)) start->setInputMode(mode);
}

void MainWindow::setDialogKind(DialogKind kind) {
    fileDialog_->setKind(kind);
}

bool MainWindow::showDialog() {
    return fileDialog_->show();
}

QString MainWindow::dialogFileName() const {
    return fileDialog_->fileName();
}

void MainWindow::showMessage(const QString& text, const QString& title, MessageIcon icon) {
    messages_->show(text, title, icon);
}

void MainWindow::reportProgress(std::uint64_t done, std::uint64_t total) {
    if (total == 0) return;
    if (done >= total) {
        finishProgress();
        return;
    }
    if (!progress_) {
        auto* dialog = new RunProgressDialog(this);
        dialog->setWindowModality(Qt::WindowModal);
        dialog->setWindowTitle(windowTitle());
        dialog->setLabelText(QStringLiteral("正在处理，请稍候……"));
        dialog->setCancelButton(nullptr);
        dialog->setAutoClose(false);
        dialog->setAutoReset(false);
        dialog->setRange(0, kProgressSteps);
        dialog->setMinimumDuration(kProgressShowAfterMs);
        dialog->setMinimumWidth(320);
        progress_ = dialog;
        progressValue_ = -1;
        progressRefresh_.start();
    }
    const int value =
        static_cast<int>(static_cast<double>(done) / static_cast<double>(total) * kProgressSteps);
    if (value == progressValue_ && progressRefresh_.elapsed() < kProgressRefreshMs) return;
    progressValue_ = value;
    progressRefresh_.restart();
    // Once shown, the window-modal dialog processes events itself and keeps
    // user input away from the window; before that only painting and timers
    // are let through, so no click can start a second run.
    progress_->setValue(value);
    if (!progress_->isVisible()) {
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    }
}

void MainWindow::finishProgress() {
    if (progress_) {
        delete progress_.data();
        progress_ = nullptr;
    }
    progressValue_ = -1;
}

}  // namespace numbrook::gui
