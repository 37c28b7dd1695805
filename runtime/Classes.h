// The component base of non-visual parts: an owner frees what it owns, by
// Qt's parent ownership.
#pragma once

#include <QObject>

// The sender handed to events.
using TObject = QObject;

class TComponent : public QObject {
    Q_OBJECT
public:
    explicit TComponent(QObject* AOwner);

    QObject* Owner() const { return parent(); }
};
