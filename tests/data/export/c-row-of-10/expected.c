
const unsigned short Default[] = {

7,7,7,7,7,7,7,7,
7,7,
};
