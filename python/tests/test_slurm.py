"""The README's Slurm array recipe on a real one-node cluster, brought up
by scripts/with-slurm: three shards, one task killed while it cuts and
submitted again as the README says; the union must be a plain run's."""
import os
import pathlib
import re
import struct
import subprocess
import time

import numpy as np
import pytest

from conftest import SPLIT, as_type, bursts, write_wav

pytestmark = pytest.mark.skipif("REDIVEV_TEST_CLUSTER" not in os.environ,
                                reason="needs the cluster of scripts/with-slurm")
README = pathlib.Path(__file__).resolve().parents[2] / "README.md"


def recipe(corpus, pieces, manifests, listing):
    """cut.sh as the README gives it, with its paths made this test's."""
    text = README.read_text()
    block = re.search(r"\n((?:    .*\n)*?    #!/bin/sh\n(?:    .*\n)+)", text).group(1)
    script = "\n".join(line[4:] for line in block.splitlines()) + "\n"
    assert "--shard \"$SLURM_ARRAY_TASK_ID/$N\"" in script and "--skip-done" in script, script
    return (script.replace("/data/corpus", str(corpus)).replace("/data/pieces", str(pieces))
            .replace("/data/manifests", str(manifests)).replace("corpus.list", str(listing)))


def long_silence(path, seconds, rate=44100):
    """A stereo 16-bit recording, sparse but for a few bursts: long to scan,
    costing no disk."""
    frames = seconds * rate
    fmt = struct.pack("<HHIIHH", 1, 2, rate, rate * 4, 4, 16)
    header = (b"RIFF" + struct.pack("<I", 36 + frames * 4) + b"WAVE" + b"fmt " + struct.pack("<I", 16) + fmt
              + b"data" + struct.pack("<I", frames * 4))
    with open(path, "wb") as out:
        out.write(header)
        out.truncate(len(header) + frames * 4)
        burst = as_type(bursts(1, rate, seed=seconds), np.int16).tobytes()
        for at in range(60, seconds, 600):
            out.seek(len(header) + at * rate * 4)
            out.write(burst)


def sbatch(*arguments, cwd):
    run = subprocess.run(["sbatch", "--parsable", *arguments], cwd=cwd, capture_output=True, text=True, timeout=60)
    assert run.returncode == 0, run.stderr
    return run.stdout.strip().split(";")[0]


def wait_for(condition, seconds, what):
    end = time.monotonic() + seconds
    while not condition():
        assert time.monotonic() < end, f"{what} within {seconds} s"
        time.sleep(0.02)


def queued(job):
    run = subprocess.run(["squeue", "-h", "-r", "-j", job, "-o", "%i %T"], capture_output=True, text=True)
    return dict(line.split() for line in run.stdout.splitlines())


def tree(folder):
    return {str(p.relative_to(folder)): p.read_bytes() for p in sorted(folder.rglob("*"))
            if p.is_file() and p.name != ".redivev-done"}


def test_a_killed_task_submitted_again_completes_the_plain_run(tmp_path):
    corpus = tmp_path / "corpus"
    corpus.mkdir()
    names = []
    for i in range(9):
        name = f"talk{i}.wav"
        if i % 3 == 1:  # task 1's: long enough to be killed in the middle
            long_silence(corpus / name, 12000)
        else:
            write_wav(corpus / name, as_type(bursts(20, 16000, seed=i), np.int16), 16000)
        names.append(str(corpus / name))
    listing = tmp_path / "corpus.list"
    listing.write_text("\n".join(names) + "\n")
    pieces, manifests = tmp_path / "pieces", tmp_path / "manifests"
    script = tmp_path / "cut.sh"
    script.write_text(recipe(corpus, pieces, manifests, listing))
    env = f"ALL,N=3,PATH={SPLIT.parent}:{os.environ['PATH']}"

    job = sbatch("--array=0-2", f"--export={env}", "-o", str(tmp_path / "%A_%a.log"), str(script), cwd=tmp_path)
    # Killed once its first recording is done and while it cuts the next.
    first = pieces / "talk1" / ".redivev-done"
    wait_for(first.exists, 120, "task 1 cut its first recording")
    assert queued(job).get(f"{job}_1") == "RUNNING"
    subprocess.run(["scancel", "--signal=KILL", f"{job}_1"], check=True)
    wait_for(lambda: not queued(job), 300, "the array job ended")
    assert not (pieces / "talk7" / ".redivev-done").exists(), "task 1 was not stopped midway"
    sbatch("--wait", "--array=1", f"--export={env}", "-o", str(tmp_path / "again.log"), str(script), cwd=tmp_path)

    plain_pieces, plain_manifest = tmp_path / "plain", tmp_path / "plain.jsonl"
    subprocess.run([str(SPLIT), "--files-from", str(listing), "--keep-tree", str(corpus), "--out", str(plain_pieces),
                    "--no-sound-width", "0.4s", "--no-sound-level", "-40dB", "--manifest", "nemo",
                    "--manifest-out", str(plain_manifest)], check=True, timeout=300)
    assert tree(pieces) == tree(plain_pieces)
    lines = [line for name in sorted(os.listdir(manifests)) if name.endswith(".jsonl")
             for line in (manifests / name).read_text().splitlines()]
    expected = plain_manifest.read_text().replace(str(plain_pieces), str(pieces)).splitlines()
    assert sorted(lines) == sorted(expected) and len(lines) == len(set(lines))
