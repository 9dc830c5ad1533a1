#pragma once
// One recording of a batch run: skipped when --skip-done finds its folder
// complete, else cut.
#include "split/CutRecording.h"

// As CutRecording; with Options.Batch.SkipDone the outcome of a skipped
// recording is that of the earlier run (Skipped set), read from its
// record. Never raises.
TCutOutcome CutInput(const QByteArray &File, const TCutTarget &Target, const TSplitOptions &Options,
                     const std::function<void(double Share)> &Share);
