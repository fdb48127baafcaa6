#include "ui/desktop/QuantorixApp.h"

#include "ui/desktop/Commands.h"
#include "ui/desktop/GbkQt.h"

#include "ui/desktop/MainFrame.h"
#include "ui/desktop/QuantorixView.h"
#include "ui/desktop/SheetViewController.h"
#include <QFile>

#include <QCoreApplication>
#include <QEventLoop>
#include <QGuiApplication>
#include <QLabel>
#include <QLibraryInfo>
#include <QLocale>
#include <QPixmap>
#include <QScreen>
#include <QStatusBar>
#include <QTimer>
#include <QTranslator>

CQuantorixApp::CQuantorixApp() : m_Key(m_Store) {}

CQuantorixApp::~CQuantorixApp()
{
    m_pFrame.reset();
}

bool CQuantorixApp::LoadChineseTranslations()
{
    const QLocale chinese(QLocale::Chinese, QLocale::China);
    QLocale::setDefault(chinese);
    QCoreApplication* pApp = QCoreApplication::instance();
    if (!pApp)
        return false;
    // Once per run; the translator lives as long as the application.
    if (pApp->findChild<QTranslator*>(QStringLiteral("qtbaseChinese")))
        return true;
    auto* pTranslator = new QTranslator(pApp);
    pTranslator->setObjectName(QStringLiteral("qtbaseChinese"));
    if (!pTranslator->load(chinese, QStringLiteral("qtbase"), QStringLiteral("_"),
                           QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete pTranslator;
        return false;
    }
    QCoreApplication::installTranslator(pTranslator);
    return true;
}

void CQuantorixApp::ShowSplash()
{
    // The picture is looked for in the current folder. Without it there is
    // no splash and no waiting.
    const QPixmap picture(QString::fromUtf8(frametext::SPLASH_FILE));
    if (picture.isNull())
        return;
    QLabel splash(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    splash.setPixmap(picture);
    splash.setFixedSize(picture.size());
    splash.setCursor(Qt::ArrowCursor);
    if (const QScreen* pScreen = QGuiApplication::primaryScreen()) {
        QRect rc(QPoint(0, 0), picture.size());
        rc.moveCenter(pScreen->geometry().center());
        splash.move(rc.topLeft());
    }
    splash.show();
    QEventLoop loop;
    QTimer::singleShot(1000, &loop, &QEventLoop::quit);
    loop.exec();
}

bool CQuantorixApp::InitInstance(const QStringList& args)
{
    ShowSplash();

    m_pController = std::make_unique<CSheetViewController>(m_Key, m_Prompt);
    m_pFrame = std::make_unique<CMainFrame>(m_Key);
    m_pView = new CQuantorixView(*m_pController, m_Key, m_pFrame.get());
    m_pFrame->SetView(m_pView);
    m_Prompt.SetParent(m_pFrame.get());
    m_Prompt.m_ShowStatus = [this](const QString& text) { m_pFrame->statusBar()->showMessage(text, 5000); };

    const QScreen* pScreen = QGuiApplication::primaryScreen();
    m_pFrame->PlaceAndShow(pScreen ? pScreen->geometry() : QRect(0, 0, 1024, 768));

    // The first argument that is not an option names a sheet to open.
    m_strPendingOpen.clear();
    if (m_nCommandLineOnce > 0) {
        for (const QString& arg : args) {
            if (!arg.startsWith(QLatin1Char('-'))) {
                // A path, kept as the system's bytes.
                m_strPendingOpen = QToNativePath(arg);
                break;
            }
        }
        m_nCommandLineOnce = 0;
    }
    m_pView->SetPendingOpen(m_strPendingOpen);
    return true;
}
