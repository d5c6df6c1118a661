#pragma once

#include "BellwickHostExport.h"

#include <QObject>

// Base of the QObjects a host or plug-in publishes to scripts; name becomes the object name.
class BELLWICK_HOST_EXPORT SCR_AbstractInterface : public QObject
{
    Q_OBJECT
public:
    SCR_AbstractInterface(QObject* parent, const QString& name);
    ~SCR_AbstractInterface() override;
};
