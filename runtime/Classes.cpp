#include "runtime/Classes.h"

TComponent::TComponent(QObject* AOwner) : QObject(AOwner) {}
