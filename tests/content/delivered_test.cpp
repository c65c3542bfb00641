// What the menu, the dialogs and the help key open must lie in the program folder under a name the program finds.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QHelpEngineCore>
#include <QHelpLink>

#include "content_support.h"
#include "core/helptopics.h"
#include "platform/programdir.h"

namespace {

QString distFolder() { return QString::fromStdString(lwtest::distDir().string()); }

TEST(Delivered, EveryDocumentTheMenuOpensIsFoundUnderItsWrittenName) {
    const platform::ProgramDir dir(distFolder());
    // Spelled as the menu and the calculators write them: mixed case, backslashes.
    for (const char* name : {".\\texte\\Stvo.pdf", ".\\texte\\Stvg.pdf", ".\\texte\\Aubvo.pdf", ".\\texte\\BuGeKata.pdf",
                             ".\\texte\\BuGeKata.PDF", ".\\texte\\Kauftipp.rtf", ".\\texte\\Checkliste.rtf",
                             ".\\texte\\Winter.rtf", ".\\texte\\Falschparken.rtf", ".\\texte\\KV.rtf",
                             ".\\Sounds\\Tavolin.wav", "BUSSRECH.DBF", "FRAGEN.DBF", "FRAGEN.FPT", "FRAGEN.CDX"})
        EXPECT_TRUE(dir.exists(QString::fromLatin1(name))) << name;
    // Help files: the Windows help file name stands for the Qt help collection of the same base name.
    for (const char* base : {".\\TEXTE\\TAVOLIN", ".\\TEXTE\\EUROFSCH", ".\\TEXTE\\AKTINFOS", ".\\TEXTE\\KFZSTEUR",
                             ".\\TEXTE\\KFZKENNZ", ".\\TEXTE\\VerPlatz", ".\\TEXTE\\KaufTipp"}) {
        EXPECT_TRUE(dir.exists(QString::fromLatin1(base) + QStringLiteral(".qhc"))) << base;
        EXPECT_TRUE(dir.exists(QString::fromLatin1(base) + QStringLiteral(".qch"))) << base;
    }
}

TEST(Delivered, EveryHelpTopicKeywordOfTheProgramLeadsToAPage) {
    int argc = 1;
    char name[] = "lw_test_content";
    char* argv[] = {name, nullptr};
    QCoreApplication app(argc, argv);
    const platform::ProgramDir dir(distFolder());
    QString collection = core::kHelpFile;
    collection.replace(QStringLiteral(".HLP"), QStringLiteral(".qhc"));
    QHelpEngineCore engine(dir.resolve(collection));
    engine.setReadOnly(true);
    ASSERT_TRUE(engine.setupData()) << engine.error().toStdString();
    for (const char* keyword : core::kHelpTopics) {
        const QList<QHelpLink> links = engine.documentsForKeyword(QString::fromUtf8(keyword));
        ASSERT_FALSE(links.isEmpty()) << keyword;
        EXPECT_FALSE(engine.fileData(links.first().url).isEmpty()) << keyword;
    }
}

} // namespace
