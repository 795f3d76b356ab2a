#pragma once
// The CUPS scheduler, asked over connections of our own that give up when it
// stays silent for a few seconds: a scheduler that accepts connections but
// does not answer (stopped, overloaded, a remote server behind a dead link)
// must never freeze the host. libcups' own default connection waits for ever.

#include "platform/PrintServer.h"

#include <QByteArray>

#include <cups/cups.h>

namespace quillet::printserver {

/// How long the scheduler may stay silent before a request is given up.
constexpr int SilenceLimitMs = 2000;

/// Why queue cannot take a job now, as a short phrase for the user; empty when it can.
QString queueRefusal(const QByteArray &queue);

/// Sends a PDF file to queue as a job named title; the job id, or 0 with reason saying why.
int printFile(const QByteArray &queue, const QByteArray &pdfPath, const QByteArray &title, int optionCount,
              cups_option_t *options, QString &reason);

} // namespace quillet::printserver
