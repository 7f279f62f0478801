#pragma once
// Every text of the main window in the five languages (0 Chinese, 1 English, 2 Thai,
// 3 Vietnamese, 4 Indonesian).

#include <QString>
#include <cstddef>

namespace console {

using Texts = const char* const[5];

// One item of a drop-down menu; id 0 is a separator.
struct MenuItemText {
    int id;
    const char* text[5];
};

struct MenuText {
    const char* title[5];
    const MenuItemText* items;
    std::size_t count;
};

// File, Language and Operation, in menu-bar order.
constexpr int kMenuCount = 3;
const MenuText& Menu(int index);

// Tab item i (0..6); the set-up page has no tab but a name of its own.
const char* TabText(int tab, int language);
const char* SetUpPageText(int language);

const char* SaveText(int language);
const char* LoadText(int language);
const char* MusicCaption(int language);   // 1367
const char* MicCaption(int language);     // 1365
const char* EffectCaption(int language);  // 1366
const char* EqResetText(int language);    // 1364
const char* EqPassText();                 // 1412

// Preset i (0..15) of combo 1433: the language's word and the number i + 1.
constexpr int kPresetCount = 16;
QString PresetName(int language, int preset);

// Window menu item and the About box.
const char* AboutMenuText();
const char* WindowCaption();

}  // namespace console
