// SPDX-License-Identifier: GPL-3.0-or-later
// The main menu popup: About, the language entry and Exit.
#include "cselectmenu.h"

#include <QScreen>
#include <QToolButton>
#include <QVBoxLayout>
#include <cstdio>

#include "controls/custombutton.h"
#include "controls/popupmanager.h"
#include "controls/roundedoutline.h"
#include "controls/windowplatform.h"
#include "settings/aboutwidget.h"
#include "settings/languagewidget.h"
#include "settings/readxml.h"
#include "ui_cselectmenu.h"

CSelectMenu::CSelectMenu(QWidget* parent) : QWidget(parent), ui(new Ui::CSelectMenu) {
    ui->setupUi(this);
    setObjectName("CSelectMenu");
    setWindowFlags(WindowPlatform::besideButton(Qt::Tool | Qt::FramelessWindowHint));
    setAttribute(Qt::WA_TranslucentBackground);
    setFixedSize(217, 160);
    setMask(RoundedOutline::mask(rect()));
    initUI();
}

CSelectMenu::~CSelectMenu() {
    delete ui;
}

void CSelectMenu::initUI() {
    auto* LLayout = new QVBoxLayout(this);
    LLayout->setContentsMargins(4, 4, 4, 4);
    LLayout->setSpacing(0);

    auto* toolButton_Abount = new QToolButton(this);
    toolButton_Abount->setObjectName("toolButton_Abount");
    CustomButton::setToolButton(toolButton_Abount, ":/image/svg/about.svg", "", ":/image/svg/about_press",
                                tr("About"), 200, 40, 30, 30, 2, 5);

    const std::string& language = ReadXML::instance()->language;
    printf("**********************************************language=%s\n", language.c_str());
    QString languageText = tr("English");
    if (language == "zh_CN")
        languageText = tr("简体中文");
    else if (language == "ru")
        languageText = tr("Русский");
    toolButton_english = new QToolButton(this);
    toolButton_english->setObjectName("toolButton_english");
    CustomButton::setToolButton(toolButton_english, ":/image/svg/english.svg", ":/image/svg/english_press",
                                ":/image/svg/english_press", languageText, 200, 40, 30, 30, 2, 5);

    auto* toolButton_exit = new QToolButton(this);
    toolButton_exit->setObjectName("toolButton_exit");
    CustomButton::setToolButton(toolButton_exit, ":/image/svg/exit.svg", "", ":/image/svg/exit_press",
                                tr("Exit"), 200, 40, 30, 30, 2, 5);

    for (QToolButton* entry : {toolButton_Abount, toolButton_english, toolButton_exit})
        LLayout->addWidget(entry, 0, Qt::AlignCenter);

    connect(toolButton_Abount, &QToolButton::clicked, this, &CSelectMenu::openAbout);
    connect(toolButton_english, &QToolButton::clicked, this, &CSelectMenu::openLanguageChooser);
    connect(toolButton_exit, &QToolButton::clicked, this, [this] {
        close();
        emit closeAll();
    });
}

// The panel is the menu's child and goes with the menu at the next press outside the menu.
void CSelectMenu::openAbout() {
    // Presses on the panel lie outside the menu: while it opens, the menu is not a closable popup.
    PopupManager::instance()->unregisterPopup(this);
    auto* about = new AboutWidget(this);
    QRect frame = about->frameGeometry();
    frame.moveCenter(screen()->availableGeometry().center());
    about->move(frame.topLeft());
    WindowPlatform::showInFront(about);
    PopupManager::instance()->registerPopup(this);
}

void CSelectMenu::openLanguageChooser() {
    PopupManager::instance()->unregisterPopup(this);
    auto* chooser = new LanguageWidget(this);
    connect(chooser, &LanguageWidget::signalSwitchLanguage, this, [this](const QString& code) {
        printf("Language changed: %s\n", code.toUtf8().constData());
        emit signalSwitchLanguage(code);
    });
    printf("*******************************languageWidget\n");
    chooser->move(chooserPosition(toolButton_english->mapToGlobal(QPoint(0, 0)), toolButton_english->size(),
                                  chooser->size(), screen()->availableGeometry()));
    // Where the chooser is no grabbing popup (Wayland), the registry closes it at a press outside.
    if (!WindowPlatform::placesOwnWindows())
        PopupManager::instance()->registerPopup(chooser);
    chooser->show();
    PopupManager::instance()->registerPopup(this);
}

QPoint CSelectMenu::chooserPosition(const QPoint& entryTopLeft, const QSize& entrySize,
                                    const QSize& chooserSize, const QRect& available) {
    const int gap = 7;
    int x = entryTopLeft.x() + entrySize.width() + gap;
    int y = entryTopLeft.y() + entrySize.height() - chooserSize.height();
    if (available.right() < x + chooserSize.width())
        x = entryTopLeft.x() - chooserSize.width() - gap;
    if (y < available.top())
        y = available.top();
    else if (available.bottom() < y + chooserSize.height())
        y = available.bottom() - chooserSize.height();
    return QPoint(x, y);
}

void CSelectMenu::paintEvent(QPaintEvent* event) {
    Q_UNUSED(event);
    RoundedOutline::paint(this);
}

void CSelectMenu::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    setMask(RoundedOutline::mask(rect()));
}
