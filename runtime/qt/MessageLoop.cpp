#include "runtime/MessageLoop.h"

#include <QCoreApplication>

void ProcessMessages()
{
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}
