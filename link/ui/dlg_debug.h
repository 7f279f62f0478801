#pragma once
// The debug window: a modeless, normally hidden log of the link's text (received text or hex,
// connect progress, reply dumps). Any thread may append to a buffer; while the window is shown the
// GUI thread moves it into the view every few tens of milliseconds, so a writer never waits for the
// window. Hidden, the window takes no timer at all and the buffer keeps the newest text.

#include <QDialog>
#include <mutex>
#include <string>

#include "link/log_sink.h"

class QCheckBox;
class QPlainTextEdit;
class QPushButton;
class QTimer;
class Uart;

class CDlgDebug : public QDialog, public LogSink {
  public:
    // The view keeps at most this many lines and characters: the oldest text goes first. Random
    // bytes on the line make few, long lines, so the line count alone does not bound the memory.
    static constexpr int kMaxLines = 5000;
    static constexpr int kMaxChars = 64 * 1024;
    // Text waiting for the GUI thread beyond this is dropped from its front (the view would drop it).
    static constexpr std::size_t kMaxPending = kMaxChars;

    explicit CDlgDebug(Uart& uart, QWidget* parent = nullptr);

    // Any thread.
    void Append(std::string_view text) override;
    void ScrollToBottom() override;

    void OnInitDialog();
    void OnBnClickedClear();
    void OnBnClickedHex();

    // GUI thread: moves waiting text into the view now (showing the window and the drain timer do
    // the same).
    void Flush();
    QString Text() const;
    // Characters in the view.
    int CharCount() const;
    QPlainTextEdit* LogView() const { return m_log; }
    QCheckBox* HexBox() const { return m_hex; }

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void reject() override {}  // Esc does not close the window

  private:
    void TrimToCap();

    Uart* m_uart;
    QPlainTextEdit* m_log = nullptr;
    QCheckBox* m_hex = nullptr;
    QPushButton* m_clear = nullptr;
    QTimer* m_drain = nullptr;

    std::mutex pendingMutex_;
    std::string pending_;
    bool scrollWanted_ = false;
};
