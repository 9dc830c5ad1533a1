"""The Dask example on a two-worker LocalCluster of processes on loopback,
whose tasks and results travel as a real cluster's do, gives the manifest
redivev-split gives for the same corpus, whatever ends some of its tasks."""
import json
import os
import subprocess
import sys

import pytest

from conftest import BUILD, EXAMPLES, split


def relative(manifest, out):
    return [(os.path.relpath(line["audio_filepath"], out), line["duration"])
            for line in map(json.loads, manifest.splitlines())]


def steady_flac(path, seconds, rate=44100, channels=2):
    """A FLAC file of a few MB that decodes into seconds of one steady
    16-bit value, loud enough to be one long piece."""
    frames = seconds * rate * channels * 2
    flac = subprocess.Popen(["flac", "-s", "-0", "--force-raw-format", "--endian=little", "--sign=signed",
                             f"--channels={channels}", "--bps=16", f"--sample-rate={rate}", "-o", str(path), "-"],
                            stdin=subprocess.PIPE)
    block = bytes([0x10]) * (1 << 20)
    for _ in range(frames // len(block)):
        flac.stdin.write(block)
    flac.stdin.close()
    assert flac.wait(timeout=120) == 0


# Batches of one recording (the default for so few), and of three, the
# first of which the recording that kills its worker shares with others.
@pytest.mark.parametrize("batch", [[], ["--batch", "3"]])
def test_the_dask_example_writes_the_manifest_redivev_split_writes(corpus, tmp_path, batch):
    root = corpus(["a/take.wav", "b/take.wav", "b/two words.wav", "b/café.wav", "c/d/deep.wav", "e.wav"], seconds=3)
    (root / "broken.wav").write_bytes(b"RIFF....WAVEnothing")
    # Its pieces would go where deep.wav's go: refused, whichever batch
    # each is in, as redivev-split refuses it.
    subprocess.run(["flac", "-s", "-o", str(root / "c/d/deep.flac"), str(root / "c/d/deep.wav")], check=True)
    # Normalised, its 420 MB of samples are copied into the worker, which
    # grows past its 400 MB and is killed. Found first, it comes before
    # every other recording.
    steady_flac(root / "big.flac", 40 * 60)
    environment = dict(os.environ, PYTHONPATH=str(BUILD / "python"),
                       DASK_DISTRIBUTED__SCHEDULER__ALLOWED_FAILURES="1")
    run = subprocess.run([sys.executable, str(EXAMPLES / "dask_split.py"), str(root), "--workers", "2", "--processes",
                          "--memory-limit", "400MB", "--normalise", "--out", str(tmp_path / "dask"),
                          "--manifest-out", str(tmp_path / "dask.jsonl"), "--setting", "no_sound_width=0.05s",
                          *batch],
                         capture_output=True, timeout=300, env=environment)
    said = run.stderr.decode()
    assert run.returncode == 3, said  # the others were cut
    # One line for each, and no traceback.
    big, broken = [line for line in said.splitlines() if "broken.wav" in line or "big.flac" in line]
    assert big.startswith(f"dask_split: {root / 'big.flac'}: ") and "died" in big, said
    assert broken.startswith(f"dask_split: {root / 'broken.wav'}: "), said
    assert "Traceback" not in said, said
    assert f"dask_split: {root / 'c/d/deep.wav'}: its pieces would go to " in said, said
    files = sorted(str(p) for p in root.rglob("*.*") if p.name not in ("broken.wav", "big.flac"))
    expected = split("--manifest", "nemo", "--normalise", "--keep-tree", root, "--out", tmp_path / "split",
                     "--no-sound-width", "0.05s", *files, check=False).stdout.decode()
    got = (tmp_path / "dask.jsonl").read_text()
    assert len(expected.splitlines()) > 10
    assert sorted(relative(got, tmp_path / "dask")) == sorted(relative(expected, tmp_path / "split"))
    # Byte for byte the command's lines, but for the folder of the pieces.
    assert sorted(got.replace(str(tmp_path / "dask"), str(tmp_path / "split")).encode().splitlines()) \
        == sorted(expected.encode().splitlines())
    assert "café".encode() in (tmp_path / "dask.jsonl").read_bytes()
    assert all(os.path.exists(json.loads(line)["audio_filepath"]) for line in got.splitlines())
