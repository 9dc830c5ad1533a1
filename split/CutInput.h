#pragma once
// One recording of a batch run: skipped when --skip-done finds its folder
// complete, else cut, and its folder marked complete once every piece is
// in place.
#include "split/CutRecording.h"

// As CutRecording; with Options.Batch.SkipDone the outcome of a skipped
// recording is that of the earlier run (Skipped set), read from its
// record. Never raises.
TCutOutcome CutInput(const QByteArray &File, const TCutTarget &Target, const TSplitOptions &Options,
                     const std::function<void(double Share)> &Share);
