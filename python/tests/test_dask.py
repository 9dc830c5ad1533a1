"""The Dask example on a two-worker LocalCluster of processes on loopback,
whose tasks and results travel as a real cluster's do, gives the manifest
redivev-split gives for the same corpus."""
import json
import os
import subprocess
import sys

from conftest import BUILD, EXAMPLES, split


def relative(manifest, out):
    return [(os.path.relpath(line["audio_filepath"], out), line["duration"])
            for line in map(json.loads, manifest.splitlines())]


def test_the_dask_example_writes_the_manifest_redivev_split_writes(corpus, tmp_path):
    root = corpus(["a/take.wav", "b/take.wav", "b/two words.wav", "c/d/deep.wav", "e.wav"], seconds=3)
    (root / "broken.wav").write_bytes(b"RIFF....WAVEnothing")
    environment = dict(os.environ, PYTHONPATH=str(BUILD / "python"))
    run = subprocess.run([sys.executable, str(EXAMPLES / "dask_split.py"), str(root), "--workers", "2", "--processes",
                          "--out", str(tmp_path / "dask"), "--manifest-out", str(tmp_path / "dask.jsonl"),
                          "--setting", "no_sound_width=0.05s"],
                         capture_output=True, timeout=180, env=environment)
    assert run.returncode == 1, run.stderr.decode()
    assert "broken.wav" in run.stderr.decode()
    files = sorted(str(p) for p in root.rglob("*.wav") if p.name != "broken.wav")
    expected = split("--manifest", "nemo", "--keep-tree", root, "--out", tmp_path / "split",
                     "--no-sound-width", "0.05s", *files).stdout.decode()
    got = (tmp_path / "dask.jsonl").read_text()
    assert len(expected.splitlines()) > 10
    assert sorted(relative(got, tmp_path / "dask")) == sorted(relative(expected, tmp_path / "split"))
    assert all(os.path.exists(json.loads(line)["audio_filepath"]) for line in got.splitlines())
