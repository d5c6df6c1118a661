// Stand-in plug-in: registers an engine without Python and a small area with a view.
#include "FakePythonEngine.h"
#include "FakePythonModule.h"
#include "LXLayoutManager.h"
#include "LXWidgetLayoutView.h"
#include "PLUG_Services.h"
#include "SCP_PythonFinder.h"
#include "SCP_PythonManager.h"
#include "SC_SessionContext.h"

#include <QLabel>
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

class StandInView : public LXWidgetLayoutView
{
public:
    explicit StandInView(QWidget* parent)
        : LXWidgetLayoutView(PLUG_Services::getActionManager(), QStringLiteral("StandIn"), parent,
                             parent ? "Stand-in" : nullptr)
    {
        if (parent)
            (new QVBoxLayout(this))->addWidget(new QLabel(QStringLiteral("stand-in view"), this));
    }
    LXLayoutView* createView(QWidget* parent) override { return new StandInView(parent); }
    bool wantsToolbar() const override { return false; }
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
