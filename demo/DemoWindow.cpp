#include "DemoWindow.h"

#include "DemoSamples.h"

#include <quillet/Quillet.h>

#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QStatusBar>
#include <QVBoxLayout>

DemoWindow::DemoWindow(QWidget *parent) : QMainWindow(parent)
{
    setWindowTitle(QStringLiteral("Quillet demo"));
    auto *central = new QWidget(this);
    auto *layout = new QVBoxLayout(central);
    layout->addWidget(new QLabel(QStringLiteral("Listagens de exemplo:"), central));
    m_samples = new QListWidget(central);
    m_samples->setObjectName(QStringLiteral("sampleList"));
    for (const DemoSample &sample : demoSamples())
        m_samples->addItem(sample.title);
    m_samples->setCurrentRow(0);
    layout->addWidget(m_samples);

    auto *buttons = new QHBoxLayout;
    m_listing = new quillet::Quillet(central); // the component's small face, as a host places it
    m_listing->setDirectPageCount(true);       // printed listings read "Página 1 de 3", not "de *"
    buttons->addWidget(m_listing);
    buttons->addStretch();
    const auto addButton = [&](const char *objectName, const QString &text) {
        auto *button = new QPushButton(text, central);
        button->setObjectName(QLatin1String(objectName));
        buttons->addWidget(button);
        return button;
    };
    connect(addButton("butPreview", QStringLiteral("Pré-visualizar")), &QPushButton::clicked, this, [this] {
        if (const DemoSample *sample = chosenSample())
            preview(*sample);
    });
    connect(addButton("butPrint", QStringLiteral("Imprimir")), &QPushButton::clicked, this, [this] {
        if (const DemoSample *sample = chosenSample())
            if (const QString output = print(*sample); !output.isEmpty())
                report(QStringLiteral("Impresso: %1").arg(output));
    });
    connect(addButton("butPdf", QStringLiteral("Guardar PDF...")), &QPushButton::clicked, this, [this] {
        const DemoSample *sample = chosenSample();
        if (!sample)
            return;
        const QString path =
            QFileDialog::getSaveFileName(this, QStringLiteral("Guardar como PDF"),
                                         sample->key + QStringLiteral(".pdf"), QStringLiteral("PDF (*.pdf)"));
        if (!path.isEmpty() && savePdf(*sample, path))
            report(QStringLiteral("Guardado em %1").arg(path));
    });
    connect(m_samples, &QListWidget::itemActivated, this, [this] {
        if (const DemoSample *sample = chosenSample())
            preview(*sample);
    });
    layout->addLayout(buttons);
    setCentralWidget(central);
    resize(520, 300);
}

const DemoSample *DemoWindow::chosenSample() const
{
    const int row = m_samples->currentRow();
    return row >= 0 && row < demoSamples().size() ? &demoSamples()[row] : nullptr;
}

bool DemoWindow::compose(const DemoSample &sample, bool printDirectly)
{
    m_lastError = composeSample(sample, *m_listing, this, printDirectly);
    if (m_lastError.isEmpty())
        return true;
    m_listing->Abort();
    report(m_lastError);
    return false;
}

void DemoWindow::preview(const DemoSample &sample)
{
    if (compose(sample, false))
        m_listing->Show();
}

QString DemoWindow::print(const DemoSample &sample)
{
    if (!compose(sample, true))
        return {};
    m_listing->Show();
    if (m_listing->lastOutput().isEmpty())
        report(QStringLiteral("Nada foi impresso"));
    return m_listing->lastOutput();
}

bool DemoWindow::savePdf(const DemoSample &sample, const QString &path)
{
    if (!compose(sample, false))
        return false;
    const bool saved = m_listing->SavePDF(path);
    m_listing->Abort();
    if (!saved)
        report(QStringLiteral("Não foi possível guardar %1").arg(path));
    return saved;
}

void DemoWindow::report(const QString &message)
{
    if (m_lastError.isEmpty())
        m_lastError = message;
    statusBar()->showMessage(message);
}
