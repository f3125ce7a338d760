#include "ProgramLanguage.h"

#include <QCoreApplication>
#include <QTranslator>

namespace ProgramLanguage {

QString install(QTranslator &translator, bool russian)
{
    translator.load(russian ? QStringLiteral(":/Brontel583_ru") : QStringLiteral(":/Brontel583_en"));
    QCoreApplication::removeTranslator(&translator);
    QCoreApplication::installTranslator(&translator);
    return russian ? QStringLiteral("RU") : QStringLiteral("EN");
}

}  // namespace ProgramLanguage
