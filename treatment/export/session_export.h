// A session written to one audio file: each of its treatments rendered as it
// would be alone (TreatmentRenderer: its shares, its fade in and its fade
// out), one after another in playing order. That is what the live session
// plays, which starts each treatment once the one before has faded out.
#pragma once

#include "treatment/export/audio_export.h"
#include "treatment/session.h"

#include <memory>
#include <vector>

namespace helicordia {

// The request that renders part `part` of the plan's schedule, with the rate,
// volume, pan and format of `base`.
ExportRequest SessionPartRequest(const SessionPlan &plan, int part, const ExportRequest &base);

class SessionRenderer : public FrameSource {
public:
    SessionRenderer(const SessionPlan &plan, const ExportRequest &base);
    ~SessionRenderer() override;

    const QString &error() const override { return error_; }
    std::int64_t totalFrames() const override { return totalFrames_; }
    ExportProgress progress() const override;
    int render(float *out, int maxFrames) override;

    // The frame at which part `part` starts.
    std::int64_t partStart(int part) const { return starts_[std::size_t(part)]; }

private:
    bool openPart(int part);

    const SessionPlan &plan_;
    ExportRequest base_;
    std::vector<std::int64_t> starts_; // one more than the parts: the end
    std::int64_t totalFrames_ = 0;
    std::int64_t position_ = 0;
    int part_ = -1;
    std::unique_ptr<TreatmentRenderer> current_;
    QString error_;
};

// Writes the whole session into `path` in `base.format` (see ExportTreatment).
ExportResult ExportSession(const SessionPlan &plan, const ExportRequest &base, const QString &path,
                           const ExportProgressFn &progress = {});

} // namespace helicordia
