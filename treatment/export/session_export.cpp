#include "treatment/export/session_export.h"

#include <QCoreApplication>

namespace helicordia {

ExportRequest SessionPartRequest(const SessionPlan &plan, int part, const ExportRequest &base)
{
    const SessionTreatment &t = plan.treatmentOf(part);
    ExportRequest request = base;
    request.frequencies = t.frequencies;
    request.frequencyCount = t.frequencyCount;
    request.lengthSeconds = t.lengthSeconds;
    return request;
}

SessionRenderer::SessionRenderer(const SessionPlan &plan, const ExportRequest &base) : plan_(plan), base_(base)
{
    const int parts = int(plan.schedule().parts().size());
    starts_.push_back(0);
    for (int part = 0; part < parts; ++part) {
        totalFrames_ += TreatmentFrameCount(SessionPartRequest(plan, part, base));
        starts_.push_back(totalFrames_);
    }
    if (parts == 0)
        error_ = QCoreApplication::translate("AudioExport", "The session has nothing to play.");
    else
        openPart(0);
}

SessionRenderer::~SessionRenderer() = default;

bool SessionRenderer::openPart(int part)
{
    part_ = part;
    current_ = std::make_unique<TreatmentRenderer>(SessionPartRequest(plan_, part, base_));
    if (!current_->error().isEmpty())
        error_ = current_->error();
    return error_.isEmpty();
}

int SessionRenderer::render(float *out, int maxFrames)
{
    while (error_.isEmpty() && current_) {
        const int frames = current_->render(out, maxFrames);
        if (frames > 0) {
            position_ += frames;
            return frames;
        }
        if (!current_->error().isEmpty()) {
            error_ = current_->error();
            return 0;
        }
        // This treatment has faded out: the next one starts.
        current_.reset(); // one engine at a time
        if (part_ + 1 >= int(starts_.size()) - 1 || !openPart(part_ + 1))
            return 0;
    }
    return 0;
}

ExportProgress SessionRenderer::progress() const
{
    ExportProgress p = current_ ? current_->progress() : ExportProgress{};
    p.framesDone = position_;
    p.framesTotal = totalFrames_;
    p.rate = base_.rate;
    p.part = part_;
    return p;
}

ExportResult ExportSession(const SessionPlan &plan, const ExportRequest &base, const QString &path,
                           const ExportProgressFn &progress)
{
    if (const QString problem = ExportPathProblem(path); !problem.isEmpty())
        return {ExportOutcome::Failed, problem};
    SessionRenderer renderer(plan, base);
    return ExportFrames(renderer, base.format, base.rate, path, progress);
}

} // namespace helicordia
