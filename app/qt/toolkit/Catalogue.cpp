#include "Catalogue.h"

#include <string>
#include <vector>

#include <QCoreApplication>
#include <QLocale>

#include "support/Translations.h"

namespace lirabox::qt {

Catalogue::Catalogue() {
    std::vector<std::string> preferred;
    for (const QString& tag : QLocale::system().uiLanguages()) preferred.push_back(tag.toStdString());
    mLanguage = QString::fromStdString(textLanguage(preferred));
    // Japanese is the texts' own language: it needs no translation.
    if (mLanguage == QLatin1String("ja") || !mTranslator.load(QStringLiteral(":/i18n/lirabox_%1.qm").arg(mLanguage))) {
        return;
    }
    useCatalogue([this](const UiText& text) { return mTranslator.translate(text.context, text.source).toStdString(); });
}

Catalogue::~Catalogue() {
    useCatalogue(nullptr);
    if (QCoreApplication::instance() != nullptr) QCoreApplication::removeTranslator(&mTranslator);
}

void Catalogue::install() {
    if (!mTranslator.isEmpty()) QCoreApplication::installTranslator(&mTranslator);
}

QString uiText(const UiText& text) { return QCoreApplication::translate(text.context, text.source); }

}  // namespace lirabox::qt
