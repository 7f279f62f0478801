// Main window: the DSP Update command (firmware image to the processor over the open port).
#include <QFile>

#include "console/main_dialog.h"
#include "link/ui/page_setup.h"
#include "link/ui/update_dialog.h"
#include "link/ymodem_transfer.h"
#include "platform/ui/message_box.h"

namespace {

struct LanguageBox {
    const char* text;
    const char* caption;
    int language;  // the language the box is shown in
};

// Unknown language indexes get the English box.
LanguageBox DisconnectedBox(int language) {
    static const LanguageBox kBoxes[] = {
        {"设备未连接", "提示", 0},           {"Device disconnected", "Tips", 1},
        {"หยุดการเชื่อมต่อ อุปกรณ์", "Tips", 2},   {"Alat Tidak Terhubung", "Tips", 3},
        {"Alat Tidak Terhubung", "Tips", 4},
    };
    return (language >= 0 && language < 5) ? kBoxes[language] : kBoxes[1];
}

// Why an image is refused before anything is sent: %1 is the path, %2 the size limit in MiB.
LanguageBox RefusedFileBox(Ymodem::OpenError why, int language) {
    static const LanguageBox kUnreadable[] = {
        {"无法读取固件文件：\n%1", "提示", 0},
        {"Cannot read the firmware file:\n%1", "Tips", 1},
        {"ไม่สามารถอ่านไฟล์เฟิร์มแวร์ได้:\n%1", "Tips", 2},
        {"Không thể đọc tệp firmware:\n%1", "Tips", 3},
        {"Tidak dapat membaca file firmware:\n%1", "Tips", 4},
    };
    static const LanguageBox kEmpty[] = {
        {"固件文件是空的：\n%1", "提示", 0},      {"The firmware file is empty:\n%1", "Tips", 1},
        {"ไฟล์เฟิร์มแวร์ว่างเปล่า:\n%1", "Tips", 2},    {"Tệp firmware trống:\n%1", "Tips", 3},
        {"File firmware kosong:\n%1", "Tips", 4},
    };
    static const LanguageBox kTooLarge[] = {
        {"固件文件太大（最大 %2 MiB）：\n%1", "提示", 0},
        {"The firmware file is too large (at most %2 MiB):\n%1", "Tips", 1},
        {"ไฟล์เฟิร์มแวร์ใหญ่เกินไป (สูงสุด %2 MiB):\n%1", "Tips", 2},
        {"Tệp firmware quá lớn (tối đa %2 MiB):\n%1", "Tips", 3},
        {"File firmware terlalu besar (maksimal %2 MiB):\n%1", "Tips", 4},
    };
    const LanguageBox* boxes = why == Ymodem::OpenError::Empty      ? kEmpty
                               : why == Ymodem::OpenError::TooLarge ? kTooLarge
                                                                    : kUnreadable;
    return boxes[(language >= 0 && language < 5) ? language : 1];
}

const char kFirmwareFilter[] = "bin文件(*.bin)|*.bin|所有文件(*.*)|*.*|";
const char kDefaultFirmwareName[] = "zem.inf";

}  // namespace

void CVelmor_Zem_R7Dlg::OnDspUpdate() {
    if (!m_pageSetUp) return;
    Uart& link = m_pageSetUp->Link();
    if (!link.IsOpen()) {
        const LanguageBox box = DisconnectedBox(m_language);
        win::MessageBox(this, QString::fromUtf8(box.text), QString::fromUtf8(box.caption), win::kMbOk,
                        box.language);
        return;
    }
    // One transfer at a time: the image in use must not be replaced under it.
    if (link.updateRequest.load()) return;

    const std::optional<QString> path =
        win::Files().Open(this, QString::fromUtf8(kFirmwareFilter), QString::fromUtf8(kDefaultFirmwareName));
    if (!path || path->isEmpty()) return;

    // The processor is silent while it takes the image: no heartbeat, no watchdog meanwhile.
    StopHeartbeat();
    Ymodem& firmware = m_pageSetUp->Firmware();
    if (!firmware.Open(QFile::encodeName(*path).toStdString())) {
        // Refused before the enter-update frame: nothing goes to the processor.
        link.updateResult.store(ymodem::kFileNotOpened);
        const LanguageBox box = RefusedFileBox(firmware.LastOpenError(), m_language);
        const QString text = QString::fromUtf8(box.text).replace(
            QLatin1String("%2"), QString::number(Ymodem::kMaxSize / (1024 * 1024)));
        win::MessageBox(this, text.arg(*path), QString::fromUtf8(box.caption), win::kMbOk | win::kMbIconError,
                        box.language);
    } else {
        link.updateRequest.store(1);
        UpdateDialog dialog(link, firmware, m_language, this);
        dialog.exec();
    }
    StartHeartbeat();
}
