// E-mailing documents: the subject and message of a document's mail.  The
// operations themselves (QlInvEmail, QlCreditEmail, QlQuoteEmail) are in
// QlDocOutput.h.
#pragma once

#include <stddef.h>

enum { QL_DOC_MAIL_INVOICE, QL_DOC_MAIL_CREDIT, QL_DOC_MAIL_QUOTE };

// "<company> <document word> <number>" and the message in the current
// language, signed with the company's name and telephone.
void QlDocMailCompose(int kind, const char *number, char *subject, size_t subjectSize, char *message,
                      size_t messageSize);
