#pragma once
// Qt's own texts (the file dialogs, the message boxes' standard buttons) in the console's language,
// where Qt ships a translation for it.

#include <QString>
#include <memory>

class QTranslator;

namespace win {

// Qt's name for a console language (0..4; others as Chinese): "zh_CN", "en", "th", "vi", "id".
QString QtLanguageName(int language);

// Where Qt's translation of its own texts for a console language lies; empty when Qt ships none.
QString QtTranslationFile(int language);

// The application's translation of Qt's texts, one at a time: Use replaces the one in use, and the
// object's end takes it away.
class QtTranslation {
  public:
    QtTranslation();
    ~QtTranslation();
    QtTranslation(const QtTranslation&) = delete;
    QtTranslation& operator=(const QtTranslation&) = delete;

    // Qt's texts in this language from now on; English (Qt's own) where it ships no translation.
    // True when a translation is in use.
    bool Use(int language);

  private:
    std::unique_ptr<QTranslator> translator_;
};

}  // namespace win
