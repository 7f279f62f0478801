#include "console/language_tables.h"

#include <iterator>

#include "console/control_ids.h"
#include "platform/lang.h"

namespace console {
namespace {

const MenuItemText kFileItems[] = {
    {kCmdImport, {"导入(&O)", "Import(&O)", "นำเข้า(&O)", "Nhập(&O)", "Impor(&O)"}},
    {kCmdExport, {"导出(&S)", "Export(&S)", "ส่งออก(&S)", "xuất(&S)", "Ekspor(&S)"}},
    {0, {}},
    {kCmdConnect, {"连接(&C)", "Connect(&C)", "เชื่อมต่อ(&C)", "Kết nối(&C)", "Menghubungkan(&C)"}},
    {0, {}},
    {kCmdExit, {"退出(&E)", "Exit(E)", "ออก(E)", "Thoát(&E)", "Keluar(E)"}},
};

const MenuItemText kLanguageItems[] = {
    {kCmdChinese, {"中文(&C)", "Chinese(&C)", "จีน(C)", "Tiếng Hoa(&C)", "China(&C)"}},
    {kCmdEnglish, {"英文(&E)", "Englise(&E)", "อังกฤษ(E)", "Tiếng Anh(&E)", "Inggris(&E)"}},
    {kCmdThai, {"泰文(&T)", "Thai(&T)", "ไทย(&T)", "Thái(&T)", "Thai(&T)"}},
    {kCmdVietnamese, {"越南语(&V)", "Vietnamese(&V)", "ภาษาเวียดนาม(&V)", "ViệtName(&V)", "Vietnam(&V)"}},
    {kCmdIndonesian,
     {"印度尼西亚语(&I)", "Indonesia(&I)", "ประเทศอินโดนีเซีย(&I)", "Indonesia(&I)", "Indonesia(&I)"}},
};

const MenuItemText kOperationItems[] = {
    {kCmdResetFactory,
     {"恢复出厂设置(&R)", "Reset Factory(&R)", "คืนค่าโรงงาน(&R)", "Trả về mặc định(&R)",
      "Atur Ulang Pabrik(&R)"}},
    {kCmdDspUpdate,
     {"DSP固件升级(&U)", "DSP Update(&U)", "อัพเกรด(&U)", "Cập nhật DSP(&U)", "Memperbarui DSP(&U)"}},
    {kCmdVolumeLimit,
     {"音量限制(&L)", "Volume Limit(&L)", "จำกัดปริมาณ(&L)", "Giới hạn lượng(&L)", "Batas Volume(&L)"}},
};

const MenuText kMenus[kMenuCount] = {
    {{"文件(&F)", "File(F)", "ไฟล์(F)", "Cấu hình(&F)", "Folder(F)"}, kFileItems, std::size(kFileItems)},
    {{"语言(&L)", "Language(L)", "ภาษา(L)", "Ngôn ngữ(&L)", "Bahasa(L)"},
     kLanguageItems,
     std::size(kLanguageItems)},
    {{"操作(&O)", "Operation(&O)", "การดำเนินการ(&O)", "Chức năng(&O)", "Pengoperasian(&O)"},
     kOperationItems,
     std::size(kOperationItems)},
};

const char* const kTabTexts[kTabCount][5] = {
    {"音乐", "Music", "มิวสิว", "Nhạc", "Musik"},
    {"麦克风", "Mic", "ไมค์", "Micro", "Mikrofon"},
    {"效果", "Effect", "เอฟเฟค", "Hiệu ứng", "Efek"},
    {"主输出", "Main", "เมน", "Kênh main", "Utama"},
    {"中置输出", "Mid", "เซ็นเตอร์", "Kênh center", "Tengah"},
    {"超低音输出", "Bass", "ซับวูเฟอร์", "Kênh sub", "Bass"},
    {"后置输出", "Back", "เซอร์ราวด์", "Kênh surround", "Belakang"},
};

Texts kSetUpPageName = {"设置", "Set Up", "ตั้งค่า", "Set Up", "Set Up"};
Texts kSave = {"保存", "Save", "บันทึก", "Lưu", "Simpan"};
Texts kLoad = {"加载", "Load", "โหลด", "Tải", "Memuat"};
Texts kMicCaption = {"话筒:", "Mic:", "ไมค์:", "Micro", "Mikrofon:"};
Texts kEffectCaption = {"效果:", "Effect:", "เอฟเฟค:", "Hiệu ứng", "Efek:"};
Texts kMusicCaption = {"音乐:", "Music:", "มิวสิว:", "Nhạc", "Musik"};
Texts kEqReset = {"EQ 重置", "EQ Reset", "EQ Reset", "EQ Reset", "EQ Reset"};
Texts kPresetWord = {"音效", "Effect", "เอฟเฟค", "Hiệu ứng", "Efek"};

}  // namespace

const MenuText& Menu(int index) {
    return kMenus[(index >= 0 && index < kMenuCount) ? index : 0];
}

const char* TabText(int tab, int language) {
    if (tab < 0 || tab >= kTabCount) return "";
    return lang::Pick(kTabTexts[tab], language);
}

const char* SetUpPageText(int language) {
    return lang::Pick(kSetUpPageName, language);
}
const char* SaveText(int language) {
    return lang::Pick(kSave, language);
}
const char* LoadText(int language) {
    return lang::Pick(kLoad, language);
}
const char* MusicCaption(int language) {
    return lang::Pick(kMusicCaption, language);
}
const char* MicCaption(int language) {
    return lang::Pick(kMicCaption, language);
}
const char* EffectCaption(int language) {
    return lang::Pick(kEffectCaption, language);
}
const char* EqResetText(int language) {
    return lang::Pick(kEqReset, language);
}
const char* EqPassText() {
    return "EQ PASS";
}

QString PresetName(int language, int preset) {
    return QString::fromUtf8(lang::Pick(kPresetWord, language)) + QString::number(preset + 1);
}

const char* AboutMenuText() {
    return "关于 K417B(&A)...";
}
const char* WindowCaption() {
    return "Karaoke System";
}

}  // namespace console
