#include "shell/setupdialog.h"

#include "platform/inifile.h"
#include "shell/dialogparts.h"
#include "shell/layouts.h"
#include "shell/login.h"
#include "shell/settings.h"
#include "ui/fonts.h"
#include "ui/artwork.h"
#include "ui/buttons.h"
#include "core/context.h"
#include "core/helptopics.h"
#include "ui/controls.h"
#include "ui/geometry.h"
#include "ui/maskededit.h"

namespace shell {

namespace {

const QString kTopic = core::topicKeyword(core::topic::kSetup);
const QString kMail = QStringLiteral("MailSupport");
constexpr int kMailLength = 100;

ui::CheckBox* check(QWidget* page, const QString& text, const QRect& rect, bool value, bool& variable) {
    auto* box = ui::place(new ui::CheckBox(text, page), rect);
    box->setColors(Qt::black);
    // Our font runs wider than the one the boxes were measured for; a caption must not be cut off.
    box->resize(qMax(rect.width(), box->sizeHint().width()), rect.height());
    box->setChecked(value);
    QObject::connect(box, &QCheckBox::toggled, box, [&variable](bool on) { variable = on; });
    return box;
}

} // namespace

SetupDialog::SetupDialog(core::Context& ctx, QWidget* parent)
    : ui::SkinnedDialog(parent), m_ctx(ctx), m_edited(ctx.settings) {
    const QString ini = iniPath(ctx);
    core::Settings& s = m_edited;
    m_video = platform::readProfileFlag(ini, QStringLiteral("About"), QStringLiteral("Video"), true);
    // PlayVideo is read and has no effect.
    platform::readProfileString(ini, QStringLiteral("About"), QStringLiteral("PlayVideo"), {});

    setWindowTitle(QStringLiteral("Lenkwerk - Voreinstellungen"));
    setHelpTopic(ctx, kTopic);
    ui::DLGPUTBMP(this, QStringLiteral("SetupA"), true);
    if (skin().isNull()) setDialogSize(455, 303);
    setFont(ui::dialogFont());

    m_tabs = parts::settingsTabs(this, {QStringLiteral("S&ystem"), QStringLiteral("&Training"),
                                        QStringLiteral("E&mails"), QStringLiteral("Programm&fehler")});

    QWidget* system = m_tabs->widget(0);
    parts::rightLabel(system, QStringLiteral("Fenstergröße"), layout::setup::winSizeLabel);
    m_winSize = new ui::RadioGroup(system);
    m_winSize->addColumn({QStringLiteral(" Maximal"), QStringLiteral(" Normal (800 * 600)")}, layout::setup::winSize, 20);
    m_winSize->setColors(Qt::black);
    m_winSize->setValue(s.NS_WINSIZE);
    connect(m_winSize, &ui::RadioGroup::valueChanged, this, [&s](int v) { s.NS_WINSIZE = v; });
    parts::rightLabel(system, QStringLiteral("Klangunterstützung"), layout::setup::soundLabel);
    m_sound = check(system, QStringLiteral(" einschalten"), layout::setup::sound, s.LS_SOUND, s.LS_SOUND);
    parts::rightLabel(system, QStringLiteral("Sprachausgabe"), layout::setup::speechLabel);
    m_speech = check(system, QStringLiteral(" einschalten"), layout::setup::speech, s.LS_SPEECH, s.LS_SPEECH);
    // Only where a speech engine with a German voice is installed can the switch do anything.
    m_speech->setEnabled(ctx.speech().availableNow()); // never waits for the engine: the dialog opens at once
    auto* note = parts::leftLabel(system,
                                  QStringLiteral("Die Sprachausgabe benötigt eine deutsche Stimme (espeak-ng).\r"
                                                 "Diese finden Sie auf https://github.com/espeak-ng/espeak-ng"),
                                  layout::setup::speechNote);
    note->setWordWrap(true);

    QWidget* training = m_tabs->widget(1);
    parts::rightLabel(training, QStringLiteral("Anzahl Fragen pro Übung"), layout::setup::countLabel);
    m_count = ui::place(new ui::MaskedEdit(training), layout::setup::count);
    m_count->setDigits(2);
    m_count->setAlignment(Qt::AlignCenter);
    m_count->setReplaceOnFirstKey(true);
    m_count->setText(QString::number(s.NS_MAXFRAGEN));
    ui::setColors(m_count, ui::art::palette::NCOLF, ui::art::palette::NCOLB);
    // Bound to what the user types, so a stored value wider than the field is not cut by merely opening.
    connect(m_count, &QLineEdit::textEdited, this, [&s](const QString& text) { s.NS_MAXFRAGEN = text.toInt(); });
    parts::rightLabel(training, QStringLiteral("Falsch beantwortete Fragen"), layout::setup::repeatLabel);
    m_repeat = check(training, QStringLiteral(" automatisch wieder vorlegen"), layout::setup::repeat,
                     s.LS_WVORLAGE, s.LS_WVORLAGE);
    parts::rightLabel(training, QStringLiteral("Auswertung der Antwort"), layout::setup::evaluateLabel);
    m_evaluate =
        check(training, QStringLiteral(" sofort anzeigen"), layout::setup::evaluate, s.LS_SAUSWERT, s.LS_SAUSWERT);
    parts::rightLabel(training, QStringLiteral("Fehlerpunkte"), layout::setup::pointsLabel);
    m_points =
        check(training, QStringLiteral(" sofort anzeigen"), layout::setup::points, s.LS_FPSHOW, s.LS_FPSHOW);

    QWidget* mails = m_tabs->widget(2);
    parts::leftLabel(mails, QStringLiteral("Ihre Daten für den Email-Versand"), layout::setup::mailHeading);
    parts::rightLabel(mails, QStringLiteral("Name"), layout::setup::mailNameLabel);
    m_mailName = ui::place(new ui::MaskedEdit(mails), layout::setup::mailName);
    parts::rightLabel(mails, QStringLiteral("Email-Adresse"), layout::setup::mailReplyLabel);
    m_mailReply = ui::place(new ui::MaskedEdit(mails), layout::setup::mailReply);
    const QString stored[2] = {platform::readProfileString(ini, kMail, QStringLiteral("Name"), {}),
                               platform::readProfileString(ini, kMail, QStringLiteral("Reply"), {})};
    ui::MaskedEdit* fields[2] = {m_mailName, m_mailReply};
    for (int i = 0; i < 2; ++i) {
        fields[i]->setTextMask(kMailLength);
        fields[i]->setText(unpadded(padTo(stored[i], kMailLength)));
        ui::setColors(fields[i], ui::art::palette::NCOLF, ui::art::palette::NCOLB);
    }

    QWidget* errors = m_tabs->widget(3);
    parts::rightLabel(errors, QStringLiteral("Vorgehensweise"), layout::setup::errorLabel);
    m_error = new ui::RadioGroup(errors);
    m_error->addColumn(
        {QStringLiteral("&Löschen"), QStringLiteral("&Drucken"), QStringLiteral("&Email-Versand an den Support")},
        layout::setup::error, 20);
    m_error->setColors(Qt::black);
    m_error->setValue(s.NS_ERROR);
    connect(m_error, &ui::RadioGroup::valueChanged, this, [&s](int v) { s.NS_ERROR = v; });

    const parts::SettingsButtons buttons = parts::settingsButtons(this, m_ctx, m_saved);
    m_save = buttons.save;
    m_help = buttons.help;
    m_end = buttons.end;
    addCloseButton(layout::setup::close);
}

QString SetupDialog::mailName() const {
    return m_mailName->text();
}

QString SetupDialog::mailReply() const {
    return m_mailReply->text();
}

bool saveSetup(const core::Context& ctx, const QString& mailName, const QString& mailReply, bool video) {
    const QString ini = iniPath(ctx);
    bool ok = core::writeSettings<core::Settings>(ctx.settings, core::settingsTable(), ini, core::WrittenBySetup);
    // The fields are blank-padded; the file keeps them without the padding, which reads back the same.
    ok = platform::writeProfileString(ini, kMail, QStringLiteral("Name"), unpadded(mailName)) && ok;
    ok = platform::writeProfileString(ini, kMail, QStringLiteral("Reply"), unpadded(mailReply)) && ok;
    ok = platform::writeProfileFlag(ini, QStringLiteral("About"), QStringLiteral("Video"), video) && ok;
    return ok;
}

bool SETUP(core::Context& ctx, QWidget* mainWindow) {
    const int winSize = ctx.settings.NS_WINSIZE;
    const bool speech = ctx.settings.LS_SPEECH;
    SetupDialog dialog(ctx, mainWindow);
    dialog.exec();
    // The dialog worked on a copy. Its changes count for the rest of the run even when it ends without saving,
    // as its controls promise "takes effect at once"; only saving puts them into the settings file.
    ctx.settings = dialog.edited();
    if (dialog.saved()) {
        if (!saveSetup(ctx, dialog.mailName(), dialog.mailReply(), dialog.video()))
            core::WARNBOX(ctx,
                        QStringLiteral("Die Einstellungen konnten nicht in TAVOLIN.INI gespeichert werden.\r"
                                       "Sie gelten nur bis zum Programmende."),
                        QStringLiteral("Problem"));
        if (ctx.settings.NS_WINSIZE != winSize)
            core::MSGINFO(ctx, QStringLiteral("Die Einstellungen werden erst nach\rdem nächsten Start aktiviert !"),
                        QStringLiteral("Setup"));
        if (ctx.settings.LS_SPEECH != speech && ctx.settings.LS_SPEECH)
            core::SPEEKIT(ctx, QStringLiteral("Die Sprachausgabe ist nun eingeschaltet!"));
    }
    return true;
}

} // namespace shell
