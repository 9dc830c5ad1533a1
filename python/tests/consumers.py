"""Manifests read back as the tools that consume them read them: Kaldi's
data-folder rules (those its validator checks with --no-text --no-feats),
lhotse's field types, NeMo's reader. Each returns what a trainer would
take from the manifest: (source path, first sample, end sample, rate)."""
import json
import os
import shlex
import struct
import subprocess
from decimal import ROUND_HALF_UP, Decimal

KALDI_FILES = ["segments", "wav.scp", "utt2spk", "spk2utt", "utt2dur", "reco2dur"]


def wav_facts(data):
    """(rate, channels, bits, frames) of a RIFF WAV's bytes, as Kaldi's
    reader takes them: 16-bit PCM only."""
    assert data[:4] == b"RIFF" and data[8:12] == b"WAVE", data[:12]
    at, fmt = 12, None
    while at + 8 <= len(data):
        kind, size = data[at:at + 4], struct.unpack("<I", data[at + 4:at + 8])[0]
        if kind == b"fmt ":
            fmt = struct.unpack("<HHIIHH", data[at + 8:at + 24])
        if kind == b"data":
            assert fmt and fmt[0] == 1 and fmt[5] == 16, fmt
            return fmt[2], fmt[1], fmt[5], min(size, len(data) - at - 8) // (2 * fmt[1])
        at += 8 + size + (size & 1)
    raise AssertionError("no data chunk")


def sorted_c(lines, key=lambda line: line):
    return lines == sorted(lines, key=key)


def read_kaldi(folder, base=None):
    """The segments of a Kaldi data folder, after checking its rules; paths
    relative to base are read as a tool running there reads them."""
    text = {name: (folder / name).read_bytes() for name in KALDI_FILES}
    lines = {name: data.splitlines() for name, data in text.items()}
    for name, data in text.items():
        assert data.endswith(b"\n") and data.count(b"\n") == len(lines[name]), name
        keys = [line.split(b" ")[0] for line in lines[name]]
        # sort -k1,1 -u under LC_ALL=C: bytewise, no key twice.
        assert sorted_c(keys) and len(set(keys)) == len(keys), name
        for key in keys:
            # One field for Kaldi's split and for Python's str.split().
            assert key and key.decode("utf-8").split() == [key.decode("utf-8")], (name, key)
    utt2spk = [line.split(b" ") for line in lines["utt2spk"]]
    assert all(len(fields) == 2 for fields in utt2spk)
    # sort -k2: by speaker (from the blank before it), then the whole line.
    assert sorted_c(lines["utt2spk"], key=lambda line: (line[line.index(b" "):], line)), "utt2spk by speaker"
    speakers = {}
    for utterance, speaker in utt2spk:
        speakers.setdefault(speaker, []).append(utterance)
    assert lines["spk2utt"] == [b" ".join([speaker, *utterances]) for speaker, utterances in speakers.items()]
    segments = [line.split(b" ") for line in lines["segments"]]
    assert all(len(fields) == 4 for fields in segments)
    assert [fields[0] for fields in segments] == [fields[0] for fields in utt2spk]
    recordings = sorted({fields[1] for fields in segments})
    assert [line.split(b" ", 1)[0] for line in lines["wav.scp"]] == recordings
    reco2dur = {r: Decimal(d.decode()) for r, d in (line.split(b" ") for line in lines["reco2dur"])}
    utt2dur = [line.split(b" ") for line in lines["utt2dur"]]
    assert list(reco2dur) == recordings and [u for u, _ in utt2dur] == [s[0] for s in segments]
    sources = {}
    for line in lines["wav.scp"]:
        recording, source = line.split(b" ", 1)
        if source.endswith(b"|"):
            data = subprocess.run(source[:-1], shell=True, check=True, capture_output=True, timeout=60,
                                  cwd=base).stdout
            command = shlex.split(os.fsdecode(source[:-1]))
            path = next(os.fsencode(arg) for arg in command[1:] if os.path.isfile(os.path.join(base or "", arg)))
            path = path if base is None else os.path.join(bytes(base), path)
        else:
            path = source if base is None else os.path.join(bytes(base), source)
            data = open(path, "rb").read()
        rate, _, _, frames = wav_facts(data)
        assert Decimal(frames) / rate - reco2dur[recording] < Decimal("0.000001"), recording
        sources[recording] = (path, rate)
    found = []
    for (utterance, recording, start, end), (_, duration) in zip(segments, utt2dur):
        start, end = Decimal(start.decode()), Decimal(end.decode())
        assert Decimal(0) <= start < end <= reco2dur[recording] and Decimal(duration.decode()) == end - start
        path, rate = sources[recording]
        found.append((path, round(start * rate), round(end * rate), rate))
    return found


def samples_of(duration, rate):
    # lhotse's own: the duration times the rate, rounded half up.
    return int((Decimal(str(duration)) * rate).quantize(0, rounding=ROUND_HALF_UP))


def read_lhotse(folder, base=None):
    """The supervisions of lhotse's recordings and supervisions, after
    checking their fields' types and that each lies in its recording."""
    recordings = {}
    for line in (folder / "recordings.jsonl").read_text().splitlines():
        r = json.loads(line)
        assert set(r) == {"id", "sources", "sampling_rate", "num_samples", "duration"}, r
        assert isinstance(r["id"], str) and isinstance(r["sampling_rate"], int) and isinstance(r["num_samples"], int)
        assert isinstance(r["duration"], float) and samples_of(r["duration"], r["sampling_rate"]) == r["num_samples"]
        [source] = r["sources"]
        assert source["type"] == "file" and isinstance(source["source"], str)
        assert all(isinstance(c, int) for c in source["channels"])
        path = os.path.join(os.fsdecode(base), source["source"]) if base else source["source"]
        assert os.path.exists(path), path
        assert r["id"] not in recordings
        recordings[r["id"]] = (path, r)
    found = []
    for line in (folder / "supervisions.jsonl").read_text().splitlines():
        s = json.loads(line)
        assert set(s) == {"id", "recording_id", "start", "duration", "channel", "speaker"}, s
        assert all(isinstance(s[k], str) for k in ["id", "recording_id", "speaker"])
        assert isinstance(s["start"], float) and isinstance(s["duration"], float) and s["duration"] > 0
        path, r = recordings[s["recording_id"]]
        channels = s["channel"] if isinstance(s["channel"], list) else [s["channel"]]
        assert all(isinstance(c, int) for c in channels) and set(channels) <= set(r["sources"][0]["channels"])
        start, end = Decimal(str(s["start"])), Decimal(str(s["start"])) + Decimal(str(s["duration"]))
        assert 0 <= start and end <= Decimal(str(r["duration"]))
        rate = r["sampling_rate"]
        found.append((path, round(start * rate), round(end * rate), rate, s["speaker"]))
    return found


def read_nemo(text, base=None):
    """(audio_filepath, offset, end) of NeMo's lines, each end no later
    than the file's, in exact decimals; offset 0 where none is given."""
    found = []
    for line in text.splitlines():
        n = json.loads(line, parse_float=Decimal)
        path = os.path.join(os.fsdecode(base), n["audio_filepath"]) if base else n["audio_filepath"]
        offset = n.get("offset", Decimal(0))
        assert isinstance(n["duration"], Decimal) and n["duration"] > 0 and offset >= 0
        found.append((path, offset, offset + n["duration"], n["sample_rate"], n["channels"]))
    return found
