#include "QtDeutsch.h"

#include <QAccessible>
#include <QCoreApplication>
#include <QEvent>
#include <QLibraryInfo>
#include <QTranslator>

namespace tovik {
namespace {

// Both live as children of the application, found by their names.
QString Uebersetzung() { return QStringLiteral("qtbase_de"); }
QString Waechtername() { return QStringLiteral("QtDeutschWaechter"); }

// Watches the whole application for what builds Qt texts without a command of the program:
// a context menu (built when its event arrives) and a screen reader (which asks for the
// names of actions). Gone once the texts are loaded, whoever loaded them.
class Waechter : public QObject, public QAccessible::ActivationObserver {
public:
    explicit Waechter(QObject* app) : QObject(app) {
        setObjectName(Waechtername());
        app->installEventFilter(this);
        QAccessible::installActivationObserver(this);
    }
    ~Waechter() override { QAccessible::removeActivationObserver(this); }

    void accessibilityActiveChanged(bool aktiv) override {
        if (aktiv) QtDeutschLaden();
    }

protected:
    bool eventFilter(QObject*, QEvent* ereignis) override {
        if (ereignis->type() == QEvent::ContextMenu) QtDeutschLaden();
        return false;
    }
};

}  // namespace

void QtDeutschLaden() {
    QCoreApplication* app = QCoreApplication::instance();
    if (app->findChild<QTranslator*>(Uebersetzung(), Qt::FindDirectChildrenOnly)) return;
    // Kept also when the file is missing, so that it is looked for once.
    auto* deutsch = new QTranslator(app);
    deutsch->setObjectName(Uebersetzung());
    if (deutsch->load(Uebersetzung(), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QCoreApplication::installTranslator(deutsch);
        // The windows that exist are told by posted events. Delivered now, they cannot reach
        // the dialog about to be made, which would translate itself again and lose its
        // button's shortcut ("&Öffnen" became "Öffnen").
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LanguageChange);
    }
    // Later: the watcher may be inside its own event filter now. Nameless, it is gone already.
    if (auto* waechter = app->findChild<QObject*>(Waechtername(), Qt::FindDirectChildrenOnly)) {
        waechter->setObjectName(QString());
        waechter->deleteLater();
    }
}

void QtDeutschBeiBedarf() {
    QCoreApplication* app = QCoreApplication::instance();
    if (app->findChild<QTranslator*>(Uebersetzung(), Qt::FindDirectChildrenOnly)) return;
    if (QAccessible::isActive()) {  // a screen reader is there already
        QtDeutschLaden();
        return;
    }
    if (!app->findChild<QObject*>(Waechtername(), Qt::FindDirectChildrenOnly)) new Waechter(app);
}

}  // namespace tovik
