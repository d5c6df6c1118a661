// Stand-in plug-in: registers an engine without Python and a small area whose view holds a text
// edit, with a menu and a toolbar whose items name no responder.
#include "AC_Manager.h"
#include "AC_Menu.h"
#include "BUIAPP_Application.h"
#include "FakePythonEngine.h"
#include "FakePythonModule.h"
#include "LXLayoutManager.h"
#include "LXWidgetLayoutView.h"
#include "PLUG_Services.h"
#include "SCP_PythonFinder.h"
#include "SCP_PythonManager.h"
#include "SC_SessionContext.h"

#include <QDomDocument>
#include <QTextEdit>
#include <QVBoxLayout>

namespace {

SCP_PythonEngine* createEngine(SC_SessionContext*)
{
    auto* engine = new FakePythonEngine;
    auto* main = static_cast<FakePythonModule*>(engine->mainModule());
    main->define(QStringLiteral("say"), [engine](const QVariantList& args) {
        engine->writeStdOut(args.value(0).toString());
        return QVariant();
    });
    return engine;
}

QDomElement parsed(const char* xml)
{
    static QList<QDomDocument> documents; // elements need their documents
    documents.append(QDomDocument());
    documents.last().setContent(QByteArray(xml));
    return documents.last().documentElement();
}

class StandInView : public LXWidgetLayoutView
{
public:
    explicit StandInView(QWidget* parent)
        : LXWidgetLayoutView(PLUG_Services::getActionManager(), QStringLiteral("StandIn"), parent,
                             parent ? "Stand-in" : nullptr)
    {
        if (!parent)
            return;
        (new QVBoxLayout(this))->addWidget(new QTextEdit(this));
        if (AC_Manager* actions = PLUG_Services::getActionManager())
            setMenu(actions->createMenu(parsed("<menu id='StandInMenu' text='Stand-in'><action id='selectAll' text='Select All'/>"
                                               "<action id='clear' text='Clear' shortcut='Ctrl+L'/><action id='copy' text='Copy'/></menu>"),
                                        nullptr, nullptr),
                    0);
    }
    LXLayoutView* createView(QWidget* parent) override { return new StandInView(parent); }
    bool wantsToolbar() const override { return true; }
    QDomElement toolbarDefinition() const override
    {
        static const QDomElement toolbar =
            parsed("<toolbar id='StandInToolbar' text='Stand-in'><item id='paste' text='Paste' default='true'/></toolbar>");
        return toolbar;
    }
};

} // namespace

extern "C" void PLUG_Init()
{
    SCP_PythonFinder* finder = SCP_PythonFinder::instance();
    if (!finder)
        return;
    finder->initialize();
    if (!finder->buildPythonEnvironment())
        return;
    SCP_PythonFinder::logPythonInit(QStringLiteral("stand-in plug-in initialized"));
    if (BUIAPP_Application* application = BUIAPP_Application::instance())
        SCP_PythonFinder::logPythonInit(application->isDarkStyle() ? QStringLiteral("style: dark") : QStringLiteral("style: light"));
    SC_SessionContext* context = PLUG_Services::getSessionContext();
    if (context && context->pythonManager())
        context->pythonManager()->registerEngineCreationCallback(createEngine);
}

extern "C" void PLUG_Polish()
{
    if (LXLayoutManager* layout = PLUG_Services::getLayoutManager())
        layout->addPluginArea(QStringLiteral("Stand-in"), QStringLiteral("Stand-in"), new StandInView(nullptr),
                              true, false, false, QSize(), false, false, false);
}

extern "C" void PLUG_Unpolish()
{
}
