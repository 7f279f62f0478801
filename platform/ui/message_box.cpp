#include "platform/ui/message_box.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QLayout>
#include <QMessageBox>
#include <QStyle>

namespace win {
namespace {

// The window manager shortens a title wider than its window. The button row spans the box, and
// QMessageBox keeps it when it rebuilds its layout (a new icon), so its least width holds the box
// open wide enough for the whole title.
void FitTitle(QMessageBox& box) {
    auto* buttons = box.findChild<QDialogButtonBox*>();
    if (!buttons || !box.layout()) return;
    const QMargins margins = box.layout()->contentsMargins() + box.contentsMargins();
    buttons->setMinimumWidth(TitleBarWidth(box.windowTitle(), &box) - margins.left() - margins.right());
}

class RealMessageBoxes : public MessageBoxes {
  public:
    int Show(QWidget* parent, const MessageBoxShown& box) override {
        QMessageBox mb(parent);
        mb.setWindowTitle(box.caption);
        mb.setText(box.text);
        switch (box.type & 0xF0) {
            case kMbIconError:
                mb.setIcon(QMessageBox::Critical);
                break;
            case kMbIconQuestion:
                mb.setIcon(QMessageBox::Question);
                break;
            case kMbIconWarning:
                mb.setIcon(QMessageBox::Warning);
                break;
            case kMbIconInformation:
                mb.setIcon(QMessageBox::Information);
                break;
            default:
                break;
        }
        switch (box.type & 0x0F) {
            case kMbOkCancel:
                mb.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
                break;
            case kMbYesNo:
                mb.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
                break;
            default:
                mb.setStandardButtons(QMessageBox::Ok);
                break;
        }
        FitTitle(mb);
        switch (mb.exec()) {
            case QMessageBox::Ok:
                return kIdOk;
            case QMessageBox::Yes:
                return kIdYes;
            case QMessageBox::No:
                return kIdNo;
            default:
                return (box.type & 0x0F) == kMbYesNo ? kIdNo : kIdCancel;
        }
    }
};

class RealFileDialogs : public FileDialogs {
  public:
    std::optional<QString> Open(QWidget* parent, const QString& filter, const QString& defaultName) override {
        const QString path =
            QFileDialog::getOpenFileName(parent, QString(), defaultName, QtFilterFromWindows(filter));
        return path.isEmpty() ? std::nullopt : std::optional<QString>(path);
    }
    std::optional<QString> Save(QWidget* parent, const QString& filter, const QString& defaultName) override {
        const QString path =
            QFileDialog::getSaveFileName(parent, QString(), defaultName, QtFilterFromWindows(filter));
        return path.isEmpty() ? std::nullopt : std::optional<QString>(path);
    }
};

MessageBoxes* g_boxes = nullptr;
FileDialogs* g_files = nullptr;

}  // namespace

int TitleBarWidth(const QString& title, const QWidget* window) {
    // Window managers draw titles bold, and in the desktop's size rather than the dialog font's.
    QFont font = QFontDatabase::systemFont(QFontDatabase::TitleFont);
    font.setBold(true);
    const QStyle* style = window ? window->style() : QApplication::style();
    // An icon and up to three buttons (some window managers offer minimise and maximise on a dialog
    // too), each about as wide as the bar is high, and the frame on both sides.
    const int button = style->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, window);
    const int frame = style->pixelMetric(QStyle::PM_MdiSubWindowFrameWidth, nullptr, window);
    return QFontMetrics(font).horizontalAdvance(title) + 4 * button + 2 * frame;
}

int MessageBox(QWidget* parent, const QString& text, const QString& caption, unsigned type, int language) {
    static RealMessageBoxes real;
    MessageBoxes* boxes = g_boxes ? g_boxes : &real;
    return boxes->Show(parent, MessageBoxShown{text, caption, type, language});
}

MessageBoxes* SetMessageBoxes(MessageBoxes* boxes) {
    MessageBoxes* previous = g_boxes;
    g_boxes = boxes;
    return previous;
}

int ScriptedMessageBoxes::Show(QWidget*, const MessageBoxShown& box) {
    shown.push_back(box);
    if (!answers.empty()) {
        const int answer = answers.front();
        answers.pop_front();
        return answer;
    }
    return (box.type & 0x0F) == kMbYesNo ? kIdYes : kIdOk;
}

FileDialogs& Files() {
    static RealFileDialogs real;
    return g_files ? *g_files : real;
}

FileDialogs* SetFileDialogs(FileDialogs* dialogs) {
    FileDialogs* previous = g_files;
    g_files = dialogs;
    return previous;
}

std::optional<QString> ScriptedFileDialogs::Next() {
    ++asked;
    if (answers.empty()) return std::nullopt;
    std::optional<QString> answer = std::nullopt;
    answer.swap(answers.front());
    answers.pop_front();
    return answer;
}

QString QtFilterFromWindows(const QString& filter) {
    const QStringList parts = filter.split('|', Qt::SkipEmptyParts);
    QStringList out;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        const QString& name = parts[i];
        QString patterns = parts[i + 1];
        const QString listed = QStringLiteral("(%1)").arg(patterns);
        patterns.replace(';', ' ');
        // A name that already shows its patterns is shown once: QFileDialog reads them from it.
        if (name.endsWith(listed))
            out << name.left(name.size() - listed.size()) + QStringLiteral("(%1)").arg(patterns);
        else
            out << QStringLiteral("%1 (%2)").arg(name, patterns);
    }
    return out.join(QStringLiteral(";;"));
}

}  // namespace win
