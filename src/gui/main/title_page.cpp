#include "gui/main/title_page.h"

#include "gui/base/form_layout.h"
#include "gui/main/title_text.h"

#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>

namespace kelvano {

using namespace FormLayout;

namespace {

/// The title page's banner: the program's name on a sky-blue band with a small table drawn beside it.
QPixmap drawBanner() {
    QPixmap banner(178, 38);
    QPainter painter(&banner);
    QLinearGradient sky(0, 0, 178, 0);
    sky.setColorAt(0, QColor(0x1E, 0x5A, 0x9C));
    sky.setColorAt(1, QColor(0x8C, 0xC8, 0xF0));
    painter.fillRect(banner.rect(), sky);
    painter.setPen(QPen(Qt::white, 1));
    for (int row = 0; row < 3; ++row) {
        for (int column = 0; column < 3; ++column) {
            painter.drawRect(8 + column * 9, 7 + row * 8, 9, 8);
        }
    }
    painter.fillRect(9, 8, 26, 7, QColor(0xFF, 0xD7, 0x4A));
    QFont font(QStringLiteral("Sans"));
    font.setPixelSize(20);
    font.setBold(true);
    painter.setFont(font);
    painter.drawText(QRect(44, 0, 130, 38), Qt::AlignVCenter | Qt::AlignLeft, QStringLiteral("Kelvano"));
    return banner;
}

} // namespace

TitlePage::TitlePage(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("TabSheet1"));
    Memo2 = new QPlainTextEdit(this);
    Memo2->setObjectName(QStringLiteral("Memo2"));
    Memo2->setGeometry(0, 0, 530, 263);
    Memo2->setTabChangesFocus(true);
    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(6, 288, 178, 38);
    Image1->setPixmap(drawBanner());
    // Under the text, the way to the help's first steps; Tab reaches it and Enter follows it.
    auto* firstSteps =
        button(this, QStringLiteral("FirstStepsLink"), TitleText::FirstStepsLink, {2, 264, 200, 23});
    firstSteps->setFlat(true);
    firstSteps->setCursor(Qt::PointingHandCursor);
    firstSteps->setStyleSheet(
        QStringLiteral("color: palette(link); text-decoration: underline; text-align: left;"));
    connect(firstSteps, &QPushButton::clicked, this, &TitlePage::firstStepsRequested);
    // Two lines beside the banner: the name, then the home page and the address.
    label(this,
          TitleText::ProjectName + u'\n' + TitleText::HomePage + QStringLiteral("　") +
              TitleText::MailAddress,
          {196, 288});
}

void TitlePage::showTitleText(const QStringList& lines, bool readOnly) {
    Memo2->clear();
    Memo2->setReadOnly(readOnly);
    for (const QString& line : lines) {
        Memo2->appendPlainText(line);
    }
}

} // namespace kelvano
