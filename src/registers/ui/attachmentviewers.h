#pragma once

#include <functional>

class AttachmentsGroup;
class FormRunner;
class QWidget;
class Session;

namespace reports {
class ReportDesk;
}

namespace attachmentviewers {

/// A record screen's attachments open the picture viewer (a double-click on a
/// picture) and, with `withDetails`, the documents window ("Detay") through
/// the screen's runner. The viewer prints through the screen's own reports, so
/// the screen and its viewer share one printer choice.
void wire(AttachmentsGroup &group, Session &session, FormRunner &runner, QWidget *screen,
          std::function<reports::ReportDesk &()> reports, bool withDetails);

} // namespace attachmentviewers
