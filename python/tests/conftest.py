"""What the Python tests share: the build's redivev-split and module, a
writer of WAV files of every sample type, and recordings of bursts."""
import json
import os
import pathlib
import struct
import subprocess
import sys

import numpy as np
import pytest

BUILD = pathlib.Path(os.environ.get("REDIVEV_BUILD", pathlib.Path(__file__).resolve().parents[2] / "build")).resolve()
SPLIT = BUILD / "split" / "redivev-split"
ROOT = pathlib.Path(__file__).resolve().parents[2]
EXAMPLES = ROOT / "examples"
sys.path.insert(0, str(BUILD / "python"))

# Full scale of each sample type, and its silence.
SCALE = {np.int8: 127, np.uint8: 127, np.int16: 32767, np.int32: 2147483647, np.float32: 1.0, np.float64: 1.0}


def write_wav(path, samples, rate):
    """samples: (frames, channels) of uint8, int16, int32, float32 or float64."""
    samples = np.ascontiguousarray(samples)
    channels = samples.shape[1]
    width = samples.dtype.itemsize
    tag = 3 if samples.dtype.kind == "f" else 1
    fmt = struct.pack("<HHIIHH", tag, channels, rate, rate * channels * width, channels * width, 8 * width)
    if tag == 3:
        fmt += struct.pack("<H", 0)
    data = samples.astype(samples.dtype.newbyteorder("<")).tobytes()
    body = b"WAVE" + b"fmt " + struct.pack("<I", len(fmt)) + fmt + b"data" + struct.pack("<I", len(data)) + data
    pathlib.Path(path).write_bytes(b"RIFF" + struct.pack("<I", len(body)) + body)


def bursts(seconds, rate, channels=2, seed=0):
    """Float samples in -1..1: silence with bursts of noise of varied
    loudness and length, some quiet enough to fall below the levels."""
    rng = np.random.default_rng(seed)
    frames = int(seconds * rate)
    signal = rng.normal(0, 0.0005, (frames, channels))
    at = int(rng.integers(rate // 20, rate // 4))
    while at < frames:
        length = int(rng.integers(rate // 50, rate // 2))
        signal[at:at + length] += rng.uniform(-1, 1, (min(length, frames - at), channels)) * rng.uniform(0.01, 0.9)
        at += length + int(rng.integers(rate // 100, rate // 2))
    return np.clip(signal, -1, 1)


def as_type(signal, dtype):
    """The float signal in dtype's own coding (uint8 around 128)."""
    if np.dtype(dtype).kind == "f":
        return signal.astype(dtype)
    scaled = np.round(signal * SCALE[dtype])
    return (scaled + 128).astype(np.uint8) if dtype is np.uint8 else scaled.astype(dtype)


def split(*arguments, check=True, **options):
    streams = {"stdout": subprocess.PIPE, "stderr": subprocess.PIPE, **options}
    run = subprocess.run([str(SPLIT), *map(str, arguments)], timeout=120, **streams)
    if check and run.returncode != 0:
        raise AssertionError(f"redivev-split {arguments} exited {run.returncode}: {run.stderr}")
    return run


def listed(*arguments, **options):
    """(file, start, end) of each piece, from redivev-split --json."""
    out = split("--json", *arguments, **options).stdout
    return [(piece["file"], piece["start"], piece["end"]) for piece in json.loads(out)]


@pytest.fixture
def corpus(tmp_path):
    """Recordings below tmp_path/in, in folders, two of them of one name."""
    def make(names, seconds=2, rate=8000):
        for seed, name in enumerate(names):
            path = tmp_path / "in" / name
            path.parent.mkdir(parents=True, exist_ok=True)
            write_wav(path, as_type(bursts(seconds, rate, seed=seed), np.int16), rate)
        return tmp_path / "in"
    return make
