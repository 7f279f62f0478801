// Main window: the language switch, the menu of each language and the status lamp.
#include <QComboBox>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTabBar>

#include "console/control_ids.h"
#include "console/images.h"
#include "console/language_tables.h"
#include "console/main_client.h"
#include "console/main_dialog.h"
#include "console/page_factory.h"
#include "console/status_lamp_button.h"
#include "link/ui/page_setup.h"
#include "platform/lang.h"
#include "platform/ui/controls.h"

using namespace console;

void CVelmor_Zem_R7Dlg::BuildMenu(int language) {
    auto* bar = new QMenuBar(this);
    for (int m = 0; m < kMenuCount; ++m) {
        const MenuText& table = Menu(m);
        QMenu* menu = bar->addMenu(QString::fromUtf8(lang::Pick(table.title, language)));
        for (std::size_t i = 0; i < table.count; ++i) {
            const MenuItemText& item = table.items[i];
            if (item.id == 0) {
                menu->addSeparator();
                continue;
            }
            QAction* action = menu->addAction(QString::fromUtf8(lang::Pick(item.text, language)));
            action->setData(item.id);
            const int id = item.id;
            connect(action, &QAction::triggered, this, [this, id] { OnCommand(id); });
        }
    }
    // The old bar goes later, so a switch from its own menu item is safe.
    setMenuBar(bar);
    m_pMenu = bar;
}

void CVelmor_Zem_R7Dlg::SetLanguage(int language) {
    language = lang::Clamp(language);
    m_qtTranslation.Use(language);
    BuildMenu(language);

    const int current = m_tab->currentIndex();
    if (QWidget* page = PageAt(current)) page->hide();

    {
        const QSignalBlocker quiet(m_presetCombo);
        m_presetCombo->clear();
        for (int i = 0; i < kPresetCount; ++i) m_presetCombo->insertItem(i, PresetName(language, i));
        m_presetCombo->setCurrentIndex(0);
    }
    m_save->setText(QString::fromUtf8(SaveText(language)));
    m_load->setText(QString::fromUtf8(LoadText(language)));

    for (int i = 0; i < m_tab->count(); ++i) {
        m_tab->setTabText(i, QString::fromUtf8(TabText(i, language)));
        SetPageLanguage(PageAt(i), language);
    }
    if (QWidget* page = PageAt(current)) page->show();
    // A page may lay its rows out anew for the captions of the language.
    LayoutPageArea();

    auto setText = [this](int id, const char* text) {
        if (auto* label = win::FindControlAs<QLabel>(m_client, id)) label->setText(QString::fromUtf8(text));
    };
    setText(kIdMicCaption, MicCaption(language));
    setText(kIdEffectCaption, EffectCaption(language));
    setText(kIdMusicCaption, MusicCaption(language));
    m_eqReset->setText(QString::fromUtf8(EqResetText(language)));
    FitEqButtons();

    SetPageLanguage(m_pages[pageindex::kSetUp], language);
    m_language = language;
    SetStatusLamp();
    FitTopRow();
    WriteLanguage(m_options.configPath, language);
    m_timers.Set(kTimerStatusLamp, kStatusLampDelayMs);
}

void CVelmor_Zem_R7Dlg::SetStatusLamp() {
    const bool connected = m_connected != 0;
    m_statusLamp->SetImage(StatusLamp(m_language, connected), StatusLampBitmapId(m_language, connected));
}
