#include "gui/pages/help_page.h"

#include <QMouseEvent>

#include "gui/widgets/event_guard.h"
#include "gui/widgets/page_controls.h"
#include "gui/widgets/window_font.h"

namespace tolvane {

namespace {

constexpr int kHeadingPixels = 16;
constexpr QRect kAgreementBounds(8, 144, 441, 129);

const char* const kAgreement[] = {
    "Tolvane Builder Freeware License Agreement",
    "==========================================",
    "",
    "Tolvane Builder is freeware. You may use it, free of charge,",
    "at home, at school and at work, for as long as you like, to",
    "build search pages for as many web sites as you like.",
    "",
    "You may copy the program and give it to other people, as long",
    "as you pass it on complete and unchanged, with this agreement,",
    "and ask nothing for it beyond the cost of the medium.",
    "",
    "The search pages that you build with the program belong to",
    "you. You may publish them, change them and sell them; the",
    "credit line in the additional tags may be removed.",
    "",
    "You may not sell the program itself, rent it out, or offer it",
    "as part of a product that is sold, without the written",
    "permission of the author.",
    "",
    "You may not take the program apart, change it, or pass it off",
    "as your own work.",
    "",
    "The program is provided \"as is\", without warranty of any",
    "kind, express or implied, including warranties of fitness for",
    "a particular purpose. The whole risk of using it lies with",
    "you. In no event shall the author be liable for any damage",
    "or loss of data that comes from using the program or from",
    "being unable to use it.",
    "",
    "Keep copies of your item lists and of your web site before",
    "you export a search page into it.",
    "",
    "By using Tolvane Builder you accept this agreement. If you do",
    "not accept it, delete the program and every copy of it.",
    "",
};

}  // namespace

void LinkLabel::mouseReleaseEvent(QMouseEvent* event) {
    QLabel::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
        emit clicked();
    }
}

QString AgreementText() {
    QStringList lines;
    for (const char* line : kAgreement) {
        lines.append(QString::fromLatin1(line));
    }
    return lines.join(QLatin1Char('\n'));
}

HelpPage::HelpPage(LinkOpener& links, Messages& messages, QWidget* parent)
    : PageFrame("helpPage", parent), links_(links) {
    setFont(WindowFont());

    QLabel* about = NewLabel(this, "aboutHeading", QStringLiteral("About..."), {184, 8});
    QFont heading = WindowFont();
    heading.setPixelSize(kHeadingPixels);
    about->setFont(heading);
    about->adjustSize();
    NewLabel(this, "versionLabel", QStringLiteral("Tolvane Builder v.1.3.00 (Build 1.226)"),
             {8, 32});
    NewLabel(this, "releaseDateLabel", QStringLiteral("Release date: 5th February, 2006"), {8, 80});
    NewLabel(this, "agreementLabel", QStringLiteral("License agreement:"), {8, 128});

    auto* agreement = new QPlainTextEdit(this);
    agreement->setObjectName(QStringLiteral("agreementText"));
    agreement->setAccessibleName(QStringLiteral("License agreement"));
    QFont agreement_font = WindowFont();
    agreement_font.setBold(false);
    agreement->setFont(agreement_font);
    agreement->setGeometry(kAgreementBounds);
    agreement->setPlainText(AgreementText());
    agreement->setReadOnly(true);
    // Read-only, yet the keyboard can move through the text to select, copy and scroll it.
    agreement->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    agreement->setFocusPolicy(Qt::StrongFocus);
    agreement->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    agreement->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    agreement->setLineWrapMode(QPlainTextEdit::WidgetWidth);

    auto* link = new LinkLabel(QString::fromLatin1(kSiteAddress), this);
    link->setObjectName(QStringLiteral("webSiteLink"));
    link->move(8, 280);
    link->adjustSize();
    QPalette blue = link->palette();
    blue.setColor(QPalette::WindowText, Qt::blue);
    link->setPalette(blue);
    link->setCursor(Qt::PointingHandCursor);
    link->setAccessibleName(QStringLiteral("Web site"));
    ConnectGuarded(link, &LinkLabel::clicked, this, messages, [this] { OpenWebSite(); });
}

void HelpPage::OpenWebSite() {
    links_.Open(kSiteAddress);
}

}  // namespace tolvane
