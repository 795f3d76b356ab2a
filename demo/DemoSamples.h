#pragma once
// The demo's sample listings: an invoice, a letter and a page of graphics are
// the command line's sample scripts (built in as resources); the 10 000-line
// stock report is composed in C++, as a host breaks its own pages.

#include <QList>
#include <QString>

class QWidget;

namespace quillet {
class Quillet;
}

struct DemoSample {
    QString key;        ///< the name --sample takes
    QString title;      ///< shown in the list
    QString scriptPath; ///< a resource path; empty for the stock report
};

const QList<DemoSample> &demoSamples();
/// The sample of that key; null when there is none.
const DemoSample *findDemoSample(const QString &key);

/// Opens the listing (to preview, or printing directly) and composes the
/// sample. Returns an empty string, or why the listing could not be made (the
/// listing may then be open: Abort it).
QString composeSample(const DemoSample &sample, quillet::Quillet &listing, QWidget *window,
                      bool printDirectly);
