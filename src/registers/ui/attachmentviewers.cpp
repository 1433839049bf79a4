#include "attachmentviewers.h"

#include "kit/kelmaform.h"
#include "reports/ui/reportdesk.h"
#include "storage/ui/attachmentsgroup.h"
#include "texts/ui/unbelge.h"
#include "texts/ui/unresim.h"

namespace attachmentviewers {

void wire(AttachmentsGroup &group, Session &session, FormRunner &runner, QWidget *screen,
          std::function<reports::ReportDesk &()> reports, bool withDetails)
{
    if (withDetails) {
        group.openDetails = [&group, &session, &runner, screen] {
            TFRMBELGE details(session, screen);
            details.setAttachments(&group.attachments());
            runner.run(details);
        };
    }
    group.openPicture = [&session, &runner, screen, reports](const QImage &picture) {
        TFRMRESIM viewer(session, screen);
        viewer.setPicture(picture);
        viewer.printPicture = [reports](const QImage &p, bool stretch, bool centre) {
            reports().printPicture(p, stretch, centre);
        };
        runner.run(viewer);
    };
}

} // namespace attachmentviewers
