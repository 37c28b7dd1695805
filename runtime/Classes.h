// The root of the class tree and the component base: every sender of an
// event is a TObject, and every component has an owner that frees it.
#pragma once

#include <functional>
#include <vector>

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

// What an event names as its sender. Objects are not copied: events and
// owners refer to them by address.
class TObject {
public:
    TObject() = default;
    TObject(const TObject&) = delete;
    TObject& operator=(const TObject&) = delete;
    virtual ~TObject() = default;
};

// The plain event: only the sender.
using TNotifyEvent = std::function<void(TObject* Sender)>;

// A part of the program with an owner. The owner keeps a list of what it
// owns, in the order of creation, and frees all of it when it is itself
// destroyed, the most recently created first, so that nothing outlives a
// component it was built on. A component freed earlier leaves its owner's
// list on the way, whoever frees it.
class TComponent : public TObject {
public:
    // Joins `AOwner`'s list; without an owner, whoever created the component
    // frees it.
    explicit TComponent(TComponent* AOwner);
    ~TComponent() override;

    TComponent* Owner() const { return FOwner; }
    int ComponentCount() const { return static_cast<int>(FComponents.size()); }
    // Raises EListError outside 0 .. ComponentCount() - 1.
    TComponent* Components(int index) const;

    // Takes `component` over from its current owner (if any) and puts it at
    // the end of this one's list.
    void InsertComponent(TComponent* component);
    // Takes `component` off the list; it then has no owner. Nothing when this
    // component does not own it.
    void RemoveComponent(TComponent* component);

protected:
    // Frees everything owned, the most recently created first. Classes whose
    // destructor must run while their own members are still alive (windows)
    // call it first thing; ~TComponent calls it for everyone else.
    void DestroyComponents();

private:
    TComponent* FOwner = nullptr;
    std::vector<TComponent*> FComponents;
};
