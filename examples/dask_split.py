#!/usr/bin/env python3
"""Cut a corpus of recordings on a Dask cluster into one NeMo manifest.

One task per batch of recordings runs redivev.split_files on a worker; the
pieces of ROOT/<path>.wav go to OUT/<path>/WAVE00.wav, ... as
`redivev-split --keep-tree ROOT` puts them, and the manifest gets the lines
`redivev-split --manifest nemo` writes, byte for byte (from the same code),
in the order of the list, written as each batch and those before it are
done. --batch N cuts N recordings a task (default: about 8 tasks for each
worker, at most 64 recordings).

    examples/dask_split.py ROOT --out OUT --manifest-out train.jsonl \\
        --setting no_sound_width=0.4s --setting no_sound_level=-40dB

Without --scheduler a LocalCluster of --workers workers is started in
this process (with --processes, as processes on loopback); with
--scheduler ADDRESS the tasks go to that cluster, whose workers must import
redivev and see the same paths (give absolute ones). --files-from FILE
takes the recordings (paths below ROOT, one a line) from FILE instead of
every recording found below ROOT. --memory-limit caps each --processes
worker (e.g. 2GB): past it the worker is restarted. A recording that
fails in any way (an error, a worker killed or out of memory each time it
is tried alone; a batch whose task fails is given again one recording a
task) gets one line on stderr and no manifest lines; the others are still cut
and listed. Exit status 0 when every recording was cut, 3 when some failed
and the others were cut, 1 when none was (as redivev-split). While the
cluster works, a line on stderr every 10 s says how many recordings the
tasks Dask has finished hold.
"""
import argparse
import contextlib
import logging
import os
import sys

import dask
from dask.distributed import Client, LocalCluster, wait
from distributed.scheduler import KilledWorker

EXTENSIONS = (".wav", ".flac", ".rf64", ".bw64", ".w64")
PROGRESS_SECONDS = 10
# Batches of at most BATCH_MOST recordings, about BATCHES_PER_WORKER for
# each worker.
BATCH_MOST = 64
BATCHES_PER_WORKER = 8


def cut(paths, out, root, skip_done, normalise, settings):
    """The task: for each recording of a batch, in order, its NeMo lines as
    redivev-split --manifest nemo writes them (bytes) and None, or b"" and
    the reason it failed. The worker imports redivev once, and cuts the
    batch in one call that holds no lock Python needs."""
    import redivev

    try:
        return redivev.split_files(paths, out, keep_tree=root, skip_done=skip_done, normalise=normalise, **settings)
    except ValueError as error:  # a setting refused: every recording fails alike
        return [(b"", str(error))] * len(paths)


def recordings_below(root, out):
    # Pieces written below ROOT are no recordings to cut again.
    out = os.path.realpath(out)
    found = []
    for folder, folders, files in os.walk(root):
        folders[:] = sorted(name for name in folders if os.path.realpath(os.path.join(folder, name)) != out)
        found += [os.path.join(folder, name) for name in sorted(files) if name.lower().endswith(EXTENSIONS)]
    return found


def read_list(name):
    stream = sys.stdin.buffer if name == "-" else open(name, "rb")
    with stream:
        return [os.fsdecode(line) for line in stream.read().split(b"\n") if line]


def shown(text):
    """As redivev-split shows names: control characters, and bytes that are
    not UTF-8, as \\xNN, so that a message stays one line."""
    return "".join(c if c.isprintable() else "".join(f"\\x{b:02x}" for b in os.fsencode(c)) for c in text)


def failure(path, error):
    """The line for a recording whose task ended without a result."""
    if isinstance(error, KilledWorker):
        why = "every worker that cut it died (out of memory, or killed)"
    else:
        why = f"{type(error).__name__}: {error}"
    return shown(f"dask_split: {path}: {why}")


def batch_size(text):
    size = int(text)
    if size < 1:
        raise argparse.ArgumentTypeError(f"{text} is no count of recordings (1 or more)")
    return size


def setting(text):
    name, equals, value = text.partition("=")
    if not equals or not name:
        raise argparse.ArgumentTypeError(f'"{text}" is no NAME=VALUE (e.g. no_sound_width=0.4s)')
    return name, value


class Progress:
    """The tasks given out and not yet taken, and the recordings of those
    taken: every PROGRESS_SECONDS while one is awaited, a line with how
    many of the recordings the cluster has finished."""

    def __init__(self, total):
        self.total = total
        self.taken = 0
        self.pending = {}

    def gave(self, tasks, batches):
        self.pending.update((task.key, (task, len(batch))) for task, batch in zip(tasks, batches))

    def result(self, task):
        """task's result (or its exception, raised), once it is done."""
        while True:
            try:
                wait(task, timeout=PROGRESS_SECONDS)
                break
            except TimeoutError:
                done = self.taken + sum(count for each, count in self.pending.values() if each.done())
                print(f"dask_split: {done}/{self.total} recordings done", file=sys.stderr, flush=True)
        count = self.pending.pop(task.key)[1]
        try:
            result = task.result()
        finally:
            task.release()
        # A batch that failed is counted in the tasks it is given again as.
        self.taken += count
        return result


def batches_of(files, workers, size):
    """The list in batches of size recordings, by default enough batches
    for each worker to take several, so that they end close together."""
    if not size:
        size = max(1, min(BATCH_MOST, -(-len(files) // (BATCHES_PER_WORKER * max(1, workers)))))
    batches = [files[at:at + size] for at in range(0, len(files), size)]
    # Recordings whose pieces would share a folder (a/take.wav and
    # a/take.flac) go to the batch of the first of them, where split_files
    # refuses the later ones as redivev-split does; apart, a later one would
    # write over the first one's pieces. A refused one writes no lines, so
    # the manifest keeps the list's order.
    first = {}
    for batch in batches:
        for path in list(batch):
            owner = first.setdefault(os.path.splitext(os.path.abspath(path))[0], batch)
            if owner is not batch:
                batch.remove(path)
                owner.append(path)
    return [batch for batch in batches if batch]


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("root", help="the folder the recordings are found (or their paths taken) below")
    parser.add_argument("--out", default="MakedFile", help="the folder of the pieces (default MakedFile)")
    parser.add_argument("--manifest-out", default="-", help="the NeMo manifest (default standard output)")
    parser.add_argument("--files-from", help="cut the recordings named in this file (- for standard input)")
    parser.add_argument("--scheduler", help="address of a running Dask scheduler (default: a LocalCluster)")
    parser.add_argument("--workers", type=int, default=os.cpu_count(), help="LocalCluster worker processes")
    parser.add_argument("--processes", action="store_true",
                        help="LocalCluster workers as processes on loopback (default: threads in this process)")
    parser.add_argument("--memory-limit", default="auto",
                        help="memory of each --processes worker, e.g. 2GB (default: a share of the system's)")
    parser.add_argument("--batch", type=batch_size, default=0,
                        help="recordings a task cuts (default: about 8 tasks for each worker, at most 64 recordings)")
    parser.add_argument("--skip-done", action="store_true", help="skip folders an earlier run completed")
    parser.add_argument("--normalise", action="store_true", help="raise each recording to full scale first")
    parser.add_argument("--setting", type=setting, action="append", default=[],
                        help="a detection setting as NAME=VALUE, named as redivev's keywords")
    args = parser.parse_args()

    files = read_list(args.files_from) if args.files_from else recordings_below(args.root, args.out)
    settings = dict(args.setting)
    failed = 0
    with contextlib.ExitStack() as closing:
        if args.scheduler:
            client = closing.enter_context(Client(args.scheduler))
        else:
            # redivev releases the GIL while it cuts, so worker threads in
            # this process cut side by side without the start-up and traffic
            # of worker processes; --processes has them talk over loopback
            # TCP, as a real cluster's would. A worker's end is said in the
            # line of the recording it was cutting, not in the cluster's
            # warnings about it.
            local = dict(n_workers=args.workers, threads_per_worker=1, dashboard_address=None,
                         silence_logs=logging.ERROR)
            if args.processes:
                # Forked from this process, which has imported Dask already,
                # a worker is up in a fraction of the time and processor
                # time of one that starts a new interpreter and imports it
                # again (Dask's default); a restarted one too.
                dask.config.set({"distributed.worker.multiprocessing-method": "fork"})
                local.update(processes=True, host="127.0.0.1", memory_limit=args.memory_limit)
            else:
                local.update(processes=False)
            client = closing.enter_context(Client(closing.enter_context(LocalCluster(**local))))
        manifest = sys.stdout.buffer if args.manifest_out == "-" else open(args.manifest_out, "wb")
        closing.enter_context(manifest)
        batches = batches_of(files, sum(client.nthreads().values()), args.batch)
        progress = Progress(len(files))

        def give(batches):
            tasks = client.map(cut, batches, out=args.out, root=args.root, skip_done=args.skip_done,
                               normalise=args.normalise, settings=settings, pure=False)
            progress.gave(tasks, batches)
            return tasks

        tasks = give(batches)
        for batch, task in zip(batches, tasks):
            # Whatever ends a batch's task ends only its lines: its
            # recordings are given again one a task, one after the other,
            # and what ends one of those ends that recording's. Dask counts
            # a worker's death against every task it held, so a recording
            # that waited behind the one that killed it is tried again
            # alone too.
            try:
                results = progress.result(task)
            except Exception:  # noqa: BLE001
                results = []
                for path in batch:
                    try:
                        results += progress.result(give([[path]])[0])
                    except Exception as lost:  # noqa: BLE001
                        results.append((b"", lost))
            for path, (lines, error) in zip(batch, results):
                if error:
                    said = shown(f"dask_split: {error}") if isinstance(error, str) else failure(path, error)
                    print(said, file=sys.stderr, flush=True)
                    failed += 1
                    continue
                manifest.write(lines)
            manifest.flush()
        if failed and not args.scheduler:
            # A worker restarted after its death and closed before it is
            # up is closed twice, which Dask reports with tracebacks. The
            # scheduler may still count the dead one, so the wait can end
            # early: the cluster is then closed quietly, every recording
            # being accounted for already.
            with contextlib.suppress(Exception):
                client.wait_for_workers(args.workers, timeout=60)
            logging.getLogger("distributed").setLevel(logging.CRITICAL)
    return 0 if not failed else 3 if failed < len(files) else 1


if __name__ == "__main__":
    status = main()
    # Everything is written, and the cluster closed with its workers: ending
    # here spares the interpreter's teardown of Dask's hundreds of modules,
    # which takes longer than starting the cluster did.
    logging.shutdown()
    for stream in (sys.stdout, sys.stderr):
        if not stream.closed:  # the manifest on standard output is closed
            stream.flush()
    os._exit(status)
