# Types of the module redivev. The settings' defaults are in help(redivev):
# a setting left out or None is its default, or with auto=True the one
# suggested from the recording.
import os
from typing import Any, Iterable, TypedDict

import numpy
import numpy.typing
from typing_extensions import Unpack

__version__: str

_Path = str | bytes | os.PathLike[str] | os.PathLike[bytes]

class _Settings(TypedDict, total=False):
    cut_start_level: int | str | None
    no_sound_level: int | str | None
    no_sound_width: int | float | str | None
    min_size: int | float | str | None
    backward_search: int | float | str | None
    forward_search: int | float | str | None
    pad: int | float | str | None
    level_window: int | float | str | None
    max_size: int | float | str | None
    auto: bool
    target: str | None
    join_short: bool
    band: str | None

def detect(
    samples: numpy.typing.ArrayLike, rate: int, **settings: Unpack[_Settings]
) -> numpy.typing.NDArray[numpy.int64]: ...
def split_file(
    path: _Path,
    out: _Path,
    *,
    normalise: bool = False,
    keep_tree: _Path | None = None,
    skip_done: bool = False,
    rate: int | None = None,
    channels: int | None = None,
    bits: int | None = None,
    **settings: Unpack[_Settings],
) -> list[dict[str, Any]]: ...
def split_files(
    paths: Iterable[_Path],
    out: _Path,
    *,
    format: str = "nemo",
    normalise: bool = False,
    keep_tree: _Path | None = None,
    skip_done: bool = False,
    rate: int | None = None,
    channels: int | None = None,
    bits: int | None = None,
    **settings: Unpack[_Settings],
) -> list[tuple[bytes, str | None]]: ...
def list_file(path: _Path, *, normalise: bool = False, **settings: Unpack[_Settings]) -> list[dict[str, Any]]: ...
def manifest_lines(records: Iterable[dict[str, Any]], format: str = "nemo") -> bytes: ...
