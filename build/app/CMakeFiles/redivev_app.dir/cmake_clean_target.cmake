file(REMOVE_RECURSE
  "libredivev_app.a"
)
