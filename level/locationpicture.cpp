// SPDX-License-Identifier: MIT
#include "locationpicture.h"

std::string LocationPicture::fileName() const
{
    std::string name;
    if (kind != Kind::Ordinary || items) {
        name += kind == Kind::Start ? 'A' : kind == Kind::End ? 'E' : 'O';
        name += items ? 'I' : 'N';
    }
    for (bool open : exits)
        name += open ? '1' : '0';
    return name + ".bmp";
}

LocationPicture LocationPicture::of(const LocationRecord &record)
{
    LocationPicture picture;
    if (record.mentionsStart())
        picture.kind = Kind::Start;
    if (record.isEnd() || record.loadsLevel())
        picture.kind = Kind::End;
    picture.items = record.showsItems();
    for (Direction d : Directions)
        picture.exits[int(d)] = record.hasPath(d);
    return picture;
}

std::vector<LocationPicture> LocationPicture::all()
{
    std::vector<LocationPicture> pictures;
    for (Kind kind : {Kind::Ordinary, Kind::Start, Kind::End}) {
        for (bool items : {false, true}) {
            for (int exits = 0; exits < 16; ++exits)
                pictures.push_back({kind, items, {(exits & 8) != 0, (exits & 4) != 0, (exits & 2) != 0, (exits & 1) != 0}});
        }
    }
    return pictures;
}
