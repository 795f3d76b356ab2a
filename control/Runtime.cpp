#include "control/Runtime.h"

#include "control/Listing.h"
#include "platform/QtPrinterDevice.h"
#include "preview/PreviewWindow.h"
#include "print/WaitDialog.h"

#include <QCoreApplication>

namespace quillet {

namespace {

Runtime *theRuntime = nullptr;

// Runs first thing in the application object's destructor, while windows can
// still be deleted safely.
void destroyRuntime()
{
    delete theRuntime;
    theRuntime = nullptr;
}

} // namespace

Runtime &Runtime::instance()
{
    if (!theRuntime) {
        theRuntime = new Runtime;
        qAddPostRoutine(destroyRuntime);
    }
    return *theRuntime;
}

Runtime::Runtime() : m_listing(std::make_shared<Listing>(nullptr, ListingState{})) {}

Runtime::~Runtime()
{
    m_listing->end();
    m_listing.reset();
    // No event loop runs any more: the windows closed meanwhile go now.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

QtPrinterDevice &Runtime::printer()
{
    if (!m_printer)
        m_printer = std::make_unique<QtPrinterDevice>();
    return *m_printer;
}

Listing &Runtime::startListing()
{
    m_listing = std::make_shared<Listing>(&printer(), m_listing->state());
    return *m_listing;
}

Session &session()
{
    return Runtime::instance().listing().session();
}

const ListingState &state()
{
    return session().state;
}

} // namespace quillet
