// The component base of non-visual parts: an owner frees what it owns, by
// Qt's parent ownership.
#pragma once

#include <QObject>

#include <functional>

// The setter convention: an unchanged value does nothing. Stores `value` in
// `field` and returns true when it differed, so the caller notifies only
// then.
template <class T>
bool StoreIfChanged(T& field, const T& value)
{
    if (field == value)
        return false;
    field = value;
    return true;
}

// The sender handed to events.
using TObject = QObject;

// The plain event: only the sender.
using TNotifyEvent = std::function<void(TObject* Sender)>;

class TComponent : public QObject {
    Q_OBJECT
public:
    explicit TComponent(QObject* AOwner);

    QObject* Owner() const { return parent(); }
};
