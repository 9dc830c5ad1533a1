file(REMOVE_RECURSE
  "libzuwave.a"
)
