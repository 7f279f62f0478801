#include "link/ui/page_setup.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <cstdio>

#include "link/ui/dlg_debug.h"
#include "platform/lang.h"
#include "platform/ui/controls.h"
#include "platform/ui/message_box.h"

namespace {

// Null entries: the control shows no caption in that language.
const char* const kPortGroupTexts[] = {"串口设置", "Uart Setting", "การตั้งค่าพอร์ตอนุกรม", nullptr, nullptr};
const char* const kPortLabelTexts[] = {"端口：", "Port:", "พอร์ตอนุกรม:", nullptr, nullptr};
const char* const kDebugCaptions[] = {"调试", "Debug", "ดีบั๊ก", nullptr, nullptr};
const char* const kDebugPrintTexts[] = {"调试打印", "Debug Printing", "ขอนไม้", nullptr, nullptr};

const char* const kOpenTexts[] = {"打开", "Open", "เปิดเรียน", "Open", "Buka"};
const char* const kCloseTexts[] = {"关闭", "Close", "ปิดกล้อง", "Close", "Mati"};
const char* const kDebugTexts[] = {"调试", "Debug", "ดีบั๊ก", "Debug", "Debug"};

QString Caption(const char* const (&table)[5], int language) {
    const char* text = table[lang::Clamp(language)];
    return text ? QString::fromUtf8(text) : QString();
}

bool SameIgnoringCase(const QString& a, const QString& b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

constexpr int kPortCount = 14;
constexpr int kFirstPortChoice = 2;  // "COM3"
constexpr int kGroupCount = 16;

}  // namespace

void PageSetUp::Tee::Append(std::string_view text) {
    page_.log_.Append(text);
    if (LogSink* view = page_.debugSink_.load()) view->Append(text);
}

void PageSetUp::Tee::ScrollToBottom() {
    page_.log_.ScrollToBottom();
    if (LogSink* view = page_.debugSink_.load()) view->ScrollToBottom();
}

PageSetUp::PageSetUp(QWidget* parent, SendQueue::Timing timing, ymodem::Timing updateTiming)
    : QWidget(parent), queue_(uart_, timing) {
    uart_.SetUpdateWork(
        [this, updateTiming](Uart& link) { return ymodem::RunOnUart(link, firmware_, updateTiming); });
    CreateControls();
}

PageSetUp::~PageSetUp() {
    Shutdown();
    debugSink_.store(nullptr);
    delete debug_;
}

void PageSetUp::CreateControls() {
    auto* layout = new QGridLayout(this);
    portGroup_ = new QGroupBox(Caption(kPortGroupTexts, 0), this);
    auto* portLayout = new QGridLayout(portGroup_);
    portLabel_ = new QLabel(Caption(kPortLabelTexts, 0), portGroup_);
    portList_ = new QComboBox(portGroup_);
    openClose_ = new QPushButton(QString::fromUtf8(kOpenTexts[0]), portGroup_);
    debugButton_ = new QPushButton(Caption(kDebugCaptions, 0), portGroup_);
    debugPrint_ = new QCheckBox(Caption(kDebugPrintTexts, 0), portGroup_);
    portLayout->addWidget(portLabel_, 0, 0);
    portLayout->addWidget(portList_, 0, 1);
    portLayout->addWidget(openClose_, 1, 0);
    portLayout->addWidget(debugButton_, 1, 1);
    portLayout->addWidget(debugPrint_, 2, 0, 1, 2);

    auto* groupBox = new QGroupBox(this);
    auto* groupLayout = new QGridLayout(groupBox);
    groupList_ = new QComboBox(groupBox);
    for (int i = 1; i <= kGroupCount; ++i) groupList_->addItem(QString::number(i));
    save_ = new QPushButton("Save", groupBox);
    groupLayout->addWidget(groupList_, 0, 0);
    groupLayout->addWidget(save_, 0, 1);

    layout->addWidget(portGroup_, 0, 0);
    layout->addWidget(groupBox, 1, 0);
    layout->setRowStretch(2, 1);

    win::SetControlId(portGroup_, kPortGroupId);
    win::SetControlId(portLabel_, kPortLabelId);
    win::SetControlId(portList_, kPortListId);
    win::SetControlId(openClose_, kOpenCloseId);
    win::SetControlId(debugButton_, kDebugId);
    win::SetControlId(debugPrint_, kDebugPrintId);
    win::SetControlId(groupList_, kGroupListId);
    win::SetControlId(save_, kSaveId);

    connect(openClose_, &QPushButton::clicked, this, [this] { OnOpenClose(); });
    connect(debugButton_, &QPushButton::clicked, this, [this] { OnDebug(); });
    connect(debugPrint_, &QCheckBox::clicked, this, [this] { OnDebugPrint(); });
    connect(save_, &QPushButton::clicked, this, [this] { OnSave(); });
}

void PageSetUp::OnInitDialog() {
    if (started_) return;
    started_ = true;
    {
        const QSignalBlocker block(portList_);
        portList_->clear();
        for (int i = 1; i <= kPortCount; ++i) portList_->addItem(QString("COM%1").arg(i));
        portList_->setCurrentIndex(kFirstPortChoice);
    }
    if (uart_.IsOpen()) uart_.Close();

    // A window of its own, not a child of the main window's tree: it is only a log.
    debug_ = new CDlgDebug(uart_);
    debug_->OnInitDialog();
    debug_->hide();
    uart_.hex = false;
    debugSink_.store(debug_);
    uart_.SetLogSink(&tee_);

    {
        const QSignalBlocker block(debugPrint_);
        debugPrint_->setChecked(true);
    }
    uart_.frameMode = 0;
    queue_.Start();
}

void PageSetUp::Shutdown() {
    queue_.Stop();
    uart_.Close();
    uart_.SetLogSink(nullptr);
}

void PageSetUp::PushCmd(const ZemCmd::Cmd& cmd) {
    queue_.PushCmd(cmd);
}

void PageSetUp::OnOpenClose() {
    if (!uart_.IsOpen()) {
        const std::string name = "COM" + std::to_string(portList_->currentIndex() + 1);
        if (uart_.Open(name) != 1) {
            win::MessageBox(this, QString::fromUtf8("错误"), QString(), win::kMbOk, language_);
            return;
        }
        uart_.Start();
        openClose_->setText(Caption(kCloseTexts, language_));
    } else {
        uart_.Close();
        openClose_->setText(Caption(kOpenTexts, language_));
    }
}

void PageSetUp::OnDebug() {
    const QString debugText = Caption(kDebugTexts, language_);
    // Toggled by what the window is, not by the caption, which already reads the debug text after
    // the first click.
    if (debug_) debug_->setVisible(debug_->isHidden());
    debugButton_->setText(debugText);
}

void PageSetUp::OnDebugPrint() {
    const ZemCmd::Cmd frame = ZemCmd::DebugPrinting(debugPrint_->isChecked());
    uart_.Send(frame.data(), frame.Length());
}

void PageSetUp::OnSave() {
    // Group g of this list is stored as (g * 16) + 1: one below the main window's numbering.
    PushCmd(ZemCmd::SystemAction(static_cast<std::uint8_t>((groupList_->currentIndex() * 16 + 1) & 0xFF)));
}

void PageSetUp::SetLanguage(int language) {
    portGroup_->setTitle(Caption(kPortGroupTexts, language));
    portLabel_->setText(Caption(kPortLabelTexts, language));
    debugButton_->setText(Caption(kDebugCaptions, language));
    debugPrint_->setText(Caption(kDebugPrintTexts, language));
    const bool showsOpen = SameIgnoringCase(openClose_->text(), Caption(kOpenTexts, language_));
    openClose_->setText(Caption(showsOpen ? kOpenTexts : kCloseTexts, language));
    language_ = language;
}

void PageSetUp::DebugPrint(const std::string& label, const std::uint32_t* entries, int count) {
    std::string text = label + "=";
    char piece[16];
    for (int i = 0; entries && i < count; ++i) {
        std::snprintf(piece, sizeof piece, "%x ", static_cast<unsigned>(entries[i]));
        text += piece;
    }
    text += "\n";
    tee_.Append(text);
}
