# Types of the module redivev. A setting left as None is its default (shown
# here), or with auto=True the one suggested from the recording.
import os
from typing import Any

import numpy
import numpy.typing

__version__: str

_Path = str | bytes | os.PathLike[str] | os.PathLike[bytes]

def detect(
    samples: numpy.typing.ArrayLike,
    rate: int,
    *,
    cut_start_level: int | str | None = 100,
    no_sound_level: int | str | None = 1000,
    no_sound_width: int | float | str | None = 100,
    min_size: int | float | str | None = 100,
    backward_search: int | float | str | None = 0,
    forward_search: int | float | str | None = 0,
    pad: int | float | str | None = 0,
    level_window: int | float | str | None = 0,
    max_size: int | float | str | None = 0,
    auto: bool = False,
    target: str | None = 'sentence',
    join_short: bool = False,
    band: str | None = 'off',
) -> numpy.typing.NDArray[numpy.int64]: ...

def split_file(
    path: _Path,
    out: _Path,
    *,
    normalise: bool = False,
    keep_tree: _Path | None = None,
    skip_done: bool = False,
    cut_start_level: int | str | None = 100,
    no_sound_level: int | str | None = 1000,
    no_sound_width: int | float | str | None = 100,
    min_size: int | float | str | None = 100,
    backward_search: int | float | str | None = 0,
    forward_search: int | float | str | None = 0,
    pad: int | float | str | None = 0,
    level_window: int | float | str | None = 0,
    max_size: int | float | str | None = 0,
    auto: bool = False,
    target: str | None = 'sentence',
    join_short: bool = False,
    band: str | None = 'off',
) -> list[dict[str, Any]]: ...

def list_file(
    path: _Path,
    *,
    normalise: bool = False,
    cut_start_level: int | str | None = 100,
    no_sound_level: int | str | None = 1000,
    no_sound_width: int | float | str | None = 100,
    min_size: int | float | str | None = 100,
    backward_search: int | float | str | None = 0,
    forward_search: int | float | str | None = 0,
    pad: int | float | str | None = 0,
    level_window: int | float | str | None = 0,
    max_size: int | float | str | None = 0,
    auto: bool = False,
    target: str | None = 'sentence',
    join_short: bool = False,
    band: str | None = 'off',
) -> list[dict[str, Any]]: ...
