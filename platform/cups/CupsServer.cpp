#include "platform/cups/CupsServer.h"

#include <QDeadlineTimer>

#include <memory>

namespace quillet::printserver {

namespace {

/// How long a server that stayed silent is taken as silent without asking again.
constexpr int SilenceRememberedMs = 15000;
/// How long an answer holds: one Init asks before each of its printer look-ups.
constexpr int AnswerRememberedMs = 1000;

struct HttpClose {
    void operator()(http_t *http) const { httpClose(http); }
};
using Connection = std::unique_ptr<http_t, HttpClose>;

struct IppDelete {
    void operator()(ipp_t *ipp) const { ippDelete(ipp); }
};
using Response = std::unique_ptr<ipp_t, IppDelete>;

/// A connection whose every wait, for connecting, reading or writing, ends after the limit.
Connection connect()
{
    Connection http(httpConnect2(cupsServer(), ippPort(), nullptr, AF_UNSPEC, cupsEncryption(), 1,
                                 SilenceLimitMs, nullptr));
    if (http) {
        // Without a callback a blocking connection writes without waiting for room.
        const auto giveUp = [](http_t *, void *) { return 0; };
        httpSetTimeout(http.get(), SilenceLimitMs / 1000.0, giveUp, nullptr);
    }
    return http;
}

ipp_t *printerRequest(ipp_op_t operation, const QByteArray &queue)
{
    char uri[HTTP_MAX_URI];
    httpAssembleURIf(HTTP_URI_CODING_ALL, uri, sizeof uri, "ipp", nullptr, "localhost", ippPort(),
                     "/printers/%s", queue.constData());
    ipp_t *request = ippNewRequest(operation);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr, uri);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_NAME, "requesting-user-name", nullptr, cupsUser());
    return request;
}

/// CUPS's last error as a reason the user can read.
QString failureReason()
{
    switch (cupsLastError()) {
    case IPP_STATUS_ERROR_NOT_FOUND:
        return refusalReason(Refusal::NoSuchPrinter);
    case IPP_STATUS_ERROR_NOT_ACCEPTING_JOBS:
        return refusalReason(Refusal::NotAccepting);
    case IPP_STATUS_ERROR_SERVICE_UNAVAILABLE:
    case IPP_STATUS_ERROR_INTERNAL: // what libcups reports for a connection that timed out
        return unreachableReason(Status::Silent);
    default:
        return QString::fromUtf8(cupsLastErrorString());
    }
}

} // namespace

Status status()
{
    // A listing asks at every step: one wait for a silent server is enough for
    // a while, and one answer for the steps of one Init.
    static QDeadlineTimer silenceRemembered;
    static QDeadlineTimer answerRemembered;
    if (!silenceRemembered.hasExpired())
        return Status::Silent;
    if (!answerRemembered.hasExpired())
        return Status::Answering;
    const Connection http = connect();
    if (!http)
        return Status::Absent;
    const Response answer(cupsDoRequest(http.get(), ippNewRequest(IPP_OP_CUPS_GET_DEFAULT), "/"));
    if (answer) {
        answerRemembered.setRemainingTime(AnswerRememberedMs);
        return Status::Answering;
    }
    silenceRemembered.setRemainingTime(SilenceRememberedMs);
    return Status::Silent;
}

QString queueRefusal(const QByteArray &queue)
{
    const Connection http = connect();
    if (!http)
        return unreachableReason(Status::Absent);
    ipp_t *request = printerRequest(IPP_OP_GET_PRINTER_ATTRIBUTES, queue);
    static const char *const wanted[] = {"printer-state", "printer-is-accepting-jobs"};
    ippAddStrings(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes", 2, nullptr, wanted);
    const Response answer(cupsDoRequest(http.get(), request, "/"));
    if (!answer || cupsLastError() > IPP_STATUS_OK_CONFLICTING)
        return failureReason();
    // A stopped queue would hold the job unseen until someone resumes it, so it counts as refusing.
    if (ippGetInteger(ippFindAttribute(answer.get(), "printer-state", IPP_TAG_ENUM), 0) == IPP_PSTATE_STOPPED)
        return refusalReason(Refusal::Stopped);
    if (!ippGetBoolean(ippFindAttribute(answer.get(), "printer-is-accepting-jobs", IPP_TAG_BOOLEAN), 0))
        return refusalReason(Refusal::NotAccepting);
    return {};
}

int printFile(const QByteArray &queue, const QByteArray &pdfPath, const QByteArray &title, int optionCount,
              cups_option_t *options, QString &reason)
{
    const Connection http = connect();
    if (!http) {
        reason = unreachableReason(Status::Absent);
        return 0;
    }
    ipp_t *request = printerRequest(IPP_OP_PRINT_JOB, queue);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_NAME, "job-name", nullptr, title.constData());
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_MIMETYPE, "document-format", nullptr, "application/pdf");
    cupsEncodeOptions2(request, optionCount, options, IPP_TAG_OPERATION);
    cupsEncodeOptions2(request, optionCount, options, IPP_TAG_JOB);
    const Response answer(
        cupsDoFileRequest(http.get(), request, ("/printers/" + queue).constData(), pdfPath.constData()));
    const int jobId = answer && cupsLastError() <= IPP_STATUS_OK_CONFLICTING
                          ? ippGetInteger(ippFindAttribute(answer.get(), "job-id", IPP_TAG_INTEGER), 0)
                          : 0;
    if (jobId <= 0)
        reason = failureReason();
    return jobId;
}

} // namespace quillet::printserver
