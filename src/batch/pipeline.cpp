#include "batch/pipeline.h"

#include <ostream>

#include "batch/batch_host.h"
#include "image/load_step.h"
#include "preview/png_writer.h"
#include "session/workflow.h"

namespace halvane {
namespace {

// Prints the log lines added since the last call.
class LogEcho {
 public:
  LogEcho(const Form& form, std::ostream& err, bool enabled)
      : form_(form), err_(err), enabled_(enabled) {}
  void Flush() {
    const auto& items = form_.ListBox1.items;
    for (; printed_ < items.size(); ++printed_)
      if (enabled_) err_ << items[printed_] << '\n';
  }

 private:
  const Form& form_;
  std::ostream& err_;
  bool enabled_;
  std::size_t printed_ = 0;
};

const Bitmap& ShownPicture(const Session& s, const Form& form) {
  return form.Image1Layer == PreviewLayer::Overlay ? s.PreviewBitmap : s.BackBitmap;
}

}  // namespace

int RunPipeline(const BatchOptions& options, std::ostream& /*out*/, std::ostream& err) {
  auto session = MakeSession();
  Session& s = *session;
  Form form;
  BatchHost host(options.image, err);
  FormCreate(s, form, host);
  LogEcho log(form, err, options.verbose);

  Button_LoadImageClick(s, form, host);
  log.Flush();
  if (s.WorkflowState == 0) {
    if (host.messageCount() == 0) err << "cannot read " << options.image << ": no such file\n";
    return kExitUnreadable;
  }

  if (!options.previewPath.empty()) {
    std::string error;
    if (!WritePng(ShownPicture(s, form), options.previewPath, error)) {
      err << "cannot write " << options.previewPath << ": " << error << '\n';
      return kExitOutputFailed;
    }
  }
  return kExitDone;
}

}  // namespace halvane
