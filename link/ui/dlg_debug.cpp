#include "link/ui/dlg_debug.h"

#include <QCheckBox>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTextDocument>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>

#include "link/uart.h"
#include "platform/ui/controls.h"

namespace {
constexpr int kLogId = 1012;
constexpr int kClearId = 1013;
constexpr int kHexId = 1091;
// How often the GUI thread moves waiting text into the view.
constexpr int kDrainMs = 30;
}  // namespace

CDlgDebug::CDlgDebug(Uart& uart, QWidget* parent) : QDialog(parent), m_uart(&uart) {
    setWindowTitle("Dialog");
    win::SetOwnIdSpace(this);
    auto* layout = new QVBoxLayout(this);
    m_log = new QPlainTextEdit(this);
    m_log->setReadOnly(true);
    m_log->setMaximumBlockCount(kMaxLines);
    m_clear = new QPushButton("Clear ", this);
    m_clear->setAutoDefault(false);
    m_hex = new QCheckBox("十六进制", this);
    layout->addWidget(m_log);
    auto* row = new QHBoxLayout;
    row->addWidget(m_clear);
    row->addWidget(m_hex);
    row->addStretch();
    layout->addLayout(row);
    win::SetControlId(m_log, kLogId);
    win::SetControlId(m_clear, kClearId);
    win::SetControlId(m_hex, kHexId);
    connect(m_clear, &QPushButton::clicked, this, [this] { OnBnClickedClear(); });
    connect(m_hex, &QCheckBox::clicked, this, [this] { OnBnClickedHex(); });
    resize(480, 360);
    // Writers on other threads only fill the buffer: no Qt call ever runs on them, and posting
    // an event from there would hand a Qt object across threads behind a lock the thread checker
    // cannot see. The GUI thread drains the buffer on its own timer instead, and only while the
    // window is shown: a hidden one must not wake an idle console.
    m_drain = new QTimer(this);
    m_drain->setInterval(kDrainMs);
    connect(m_drain, &QTimer::timeout, this, [this] { Flush(); });
}

void CDlgDebug::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    Flush();  // what came while hidden shows at once
    m_drain->start();
}

void CDlgDebug::hideEvent(QHideEvent* event) {
    QDialog::hideEvent(event);
    m_drain->stop();
}

void CDlgDebug::OnInitDialog() {
    m_log->moveCursor(QTextCursor::End);
    m_log->insertPlainText("Hello!\n");
}

void CDlgDebug::Append(std::string_view text) {
    if (text.empty()) return;
    std::lock_guard lock(pendingMutex_);
    pending_.append(text);
    if (pending_.size() > kMaxPending) pending_.erase(0, pending_.size() - kMaxPending);
}

void CDlgDebug::ScrollToBottom() {
    std::lock_guard lock(pendingMutex_);
    scrollWanted_ = true;
}

void CDlgDebug::Flush() {
    std::string text;
    bool scroll = false;
    {
        std::lock_guard lock(pendingMutex_);
        text.swap(pending_);
        scroll = scrollWanted_;
        scrollWanted_ = false;
    }
    if (!text.empty()) {
        m_log->moveCursor(QTextCursor::End);
        m_log->insertPlainText(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
        TrimToCap();
    }
    if (scroll) m_log->verticalScrollBar()->setValue(m_log->verticalScrollBar()->maximum());
}

void CDlgDebug::TrimToCap() {
    QTextDocument* doc = m_log->document();
    const int excess = doc->characterCount() - kMaxChars;
    if (excess <= 0) return;
    // Keep the newest three quarters of the cap, so a steady stream does not trim on every flush.
    // The document is built anew from them: cutting its front in place leaves the removed text in
    // its buffers, and the memory grows on.
    const QString all = m_log->toPlainText();
    m_log->setPlainText(all.right(kMaxChars - kMaxChars / 4));
    m_log->moveCursor(QTextCursor::End);
}

int CDlgDebug::CharCount() const {
    return m_log->document()->characterCount();
}

QString CDlgDebug::Text() const {
    return m_log->toPlainText();
}

void CDlgDebug::OnBnClickedClear() {
    {
        // Text that came before the click goes with the rest.
        std::lock_guard lock(pendingMutex_);
        pending_.clear();
    }
    m_log->clear();
}

void CDlgDebug::OnBnClickedHex() {
    m_uart->hex.store(m_hex->isChecked());
}

void CDlgDebug::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Escape:
        case Qt::Key_Return:
        case Qt::Key_Enter:
            event->accept();
            return;
        default:
            QDialog::keyPressEvent(event);
    }
}
