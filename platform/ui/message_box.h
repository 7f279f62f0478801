#pragma once
// Message boxes and file dialogs behind small interfaces, so tests can answer them and read back
// what was shown.

#include <QString>
#include <QWidget>
#include <deque>
#include <optional>
#include <vector>

namespace win {

// Button sets and icons (the low and the next nibble of the type, as MessageBox takes them).
constexpr unsigned kMbOk = 0x0;
constexpr unsigned kMbOkCancel = 0x1;
constexpr unsigned kMbYesNo = 0x4;
constexpr unsigned kMbIconError = 0x10;
constexpr unsigned kMbIconQuestion = 0x20;
constexpr unsigned kMbIconWarning = 0x30;
constexpr unsigned kMbIconInformation = 0x40;

// Answers.
constexpr int kIdOk = 1;
constexpr int kIdCancel = 2;
constexpr int kIdYes = 6;
constexpr int kIdNo = 7;

struct MessageBoxShown {
    QString text;
    QString caption;
    unsigned type = 0;
    int language = 0;
};

class MessageBoxes {
  public:
    virtual ~MessageBoxes() = default;
    virtual int Show(QWidget* parent, const MessageBoxShown& box) = 0;
};

// How wide a top-level window must be for the window manager to show its title whole: the title
// in a bold face of the desktop's title size, the title bar's icon and buttons, and the frame.
int TitleBarWidth(const QString& title, const QWidget* window);

// Shows a modal box, at least as wide as its title, in the given language (0..4) and returns its answer.
int MessageBox(QWidget* parent, const QString& text, const QString& caption, unsigned type, int language);

// Which boxes are in use; null restores the real ones. The caller keeps ownership.
// Returns the ones that were in use.
MessageBoxes* SetMessageBoxes(MessageBoxes* boxes);

// For tests: records every box and answers from a script (kIdOk / kIdYes when the script is empty,
// whichever the button set offers).
class ScriptedMessageBoxes : public MessageBoxes {
  public:
    // Scripts nest: the outer one is in use again once the inner one is gone.
    ScriptedMessageBoxes() : previous_(SetMessageBoxes(this)) {}
    ~ScriptedMessageBoxes() override { SetMessageBoxes(previous_); }
    int Show(QWidget* parent, const MessageBoxShown& box) override;

    std::deque<int> answers;
    std::vector<MessageBoxShown> shown;

  private:
    MessageBoxes* previous_;
};

// File choice (open or save) with a Windows-style filter "Name(*.ext)|*.ext|".
class FileDialogs {
  public:
    virtual ~FileDialogs() = default;
    virtual std::optional<QString> Open(QWidget* parent, const QString& filter,
                                        const QString& defaultName) = 0;
    virtual std::optional<QString> Save(QWidget* parent, const QString& filter,
                                        const QString& defaultName) = 0;
};

FileDialogs& Files();
// Returns the dialogs that were in use.
FileDialogs* SetFileDialogs(FileDialogs* dialogs);

class ScriptedFileDialogs : public FileDialogs {
  public:
    ScriptedFileDialogs() : previous_(SetFileDialogs(this)) {}
    ~ScriptedFileDialogs() override { SetFileDialogs(previous_); }
    std::optional<QString> Open(QWidget*, const QString&, const QString&) override { return Next(); }
    std::optional<QString> Save(QWidget*, const QString&, const QString&) override { return Next(); }

    std::deque<std::optional<QString>> answers;  // nullopt = the user cancelled
    int asked = 0;

  private:
    std::optional<QString> Next();
    FileDialogs* previous_;
};

// "Name(*.ext)|*.ext|" -> "Name(*.ext)" and "Name|*.a;*.b|" -> "Name (*.a *.b)" for QFileDialog.
QString QtFilterFromWindows(const QString& filter);

}  // namespace win
