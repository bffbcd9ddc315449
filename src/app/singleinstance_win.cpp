#include "app/singleinstance.h"

#include "cad/win/instancemarker.h"

// The marker window of class "TTalvoMainForm" stands for the main window
// in FindWindowW, since Qt registers its own window class names.
struct SingleInstance::Impl {
    std::unique_ptr<cad::win::InstanceMarker> marker;
};

SingleInstance::SingleInstance() : d(std::make_unique<Impl>())
{}

SingleInstance::~SingleInstance() = default;

bool SingleInstance::acquire()
{
    return !cad::win::InstanceMarker::anotherInstanceRunning();
}

void SingleInstance::markRunning()
{
    d->marker = std::make_unique<cad::win::InstanceMarker>();
}
