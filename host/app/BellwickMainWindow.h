#pragma once

#include <QMainWindow>

class LXLayoutManager;

// The reference host's window: a dock per plug-in area (made by the layout manager) and a dock
// listing the host's messages.
class BellwickMainWindow : public QMainWindow
{
    Q_OBJECT
public:
    explicit BellwickMainWindow(LXLayoutManager* layoutManager, QWidget* parent = nullptr);
    ~BellwickMainWindow() override;

private:
    LXLayoutManager* m_layoutManager;
};
