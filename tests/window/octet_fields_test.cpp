// octet field tests follow
