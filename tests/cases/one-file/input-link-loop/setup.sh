ln -s F.IN F.IN
