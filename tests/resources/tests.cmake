# The checked-in artwork is what tools/make_artwork.py draws.
add_test(NAME Artwork.MatchesItsGenerator
         COMMAND /usr/bin/python3 ${PROJECT_SOURCE_DIR}/tools/make_artwork.py --check)
