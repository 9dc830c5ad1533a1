#pragma once
// The manifests that name recordings, speakers and utterances by id:
// Kaldi's data folder and lhotse's recordings and supervisions.
#include "split/ManifestLines.h"

// Lines of segments, wav.scp, utt2spk, spk2utt (empty), utt2dur and
// reco2dur, unsorted; always of the source, in seconds into it. wav.scp
// names a 16-bit PCM WAV by its path and has anything else decoded to one
// by a pipe (flac for a 16-bit FLAC, else sox).
TManifestLines KaldiLines(const TManifestRecording &Recording);

// Lines of recordings.jsonl and supervisions.jsonl: with Listed the
// source and its pieces' areas, else each piece a recording whose
// supervision spans it.
TManifestLines LhotseLines(const TManifestRecording &Recording, bool Listed);
