#pragma once
// The Qt program's catalogue: the translation (.qm, built from
// data/translations/) of the desktop's language, through which every text the
// program shows goes, Qt's widgets and the plain classes' shown() alike.

#include <QString>
#include <QTranslator>

#include "support/UiText.h"

namespace lirabox::qt {

class Catalogue {
public:
    // Chooses the language from the desktop's (QLocale::system().uiLanguages(),
    // which LANGUAGE, LC_ALL and LANG change) and routes shown() through it;
    // works before the application object exists (--help).
    Catalogue();
    ~Catalogue();
    Catalogue(const Catalogue&) = delete;
    Catalogue& operator=(const Catalogue&) = delete;

    // Once the application object exists: Qt's own lookups use it too.
    void install();

    // "ja" or "en".
    const QString& language() const { return mLanguage; }

private:
    QString mLanguage;
    QTranslator mTranslator;
};

// The text in the language of the installed catalogue.
QString uiText(const UiText& text);

}  // namespace lirabox::qt
