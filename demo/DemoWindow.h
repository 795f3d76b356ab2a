#pragma once
// The demo's window: the sample listings and three buttons, Preview, Print
// and Save PDF, for the one chosen. The component sits in the window.

#include <QMainWindow>

class QListWidget;

namespace quillet {
class Quillet;
}

struct DemoSample;

class DemoWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit DemoWindow(QWidget *parent = nullptr);

    quillet::Quillet &listing() { return *m_listing; }

    /// Composes the sample and shows it in the preview (returns when closed).
    void preview(const DemoSample &sample);
    /// Prints the sample straight to the default printer; where it went, or empty.
    QString print(const DemoSample &sample);
    /// Saves the sample as a PDF file; false when nothing was written.
    bool savePdf(const DemoSample &sample, const QString &path);

    /// Why the last action failed; empty when it did not.
    QString lastError() const { return m_lastError; }

private:
    const DemoSample *chosenSample() const;
    bool compose(const DemoSample &sample, bool printDirectly);
    void report(const QString &message);

    quillet::Quillet *m_listing;
    QListWidget *m_samples;
    QString m_lastError;
};
